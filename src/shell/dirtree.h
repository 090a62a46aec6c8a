#pragma once
// DirTree1: the tree of directories (hidden ones included, never files). It opens no
// directory by itself; setDirectory() opens one, and every change of the current
// directory is reported by dirChange() as a full path ending in '/'.

#include <QElapsedTimer>
#include <QTreeView>

class QFileSystemModel;

namespace pelorin {

class DirTree : public QTreeView
{
    Q_OBJECT
public:
    explicit DirTree(QWidget *parent = nullptr);

    // The current directory with a trailing '/', or empty before one was opened.
    QString directory() const;
    // Makes path the current directory (expanding down to it) and so reports it.
    void setDirectory(const QString &path);
    QFileSystemModel *fileSystemModel() const { return mModel; }

signals:
    void dirChange(const QString &directory);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    QFileSystemModel *mModel;
    QElapsedTimer mOpened;
    bool mReportLater = false;
};

} // namespace pelorin
