#include "shell/dirtree.h"

#include "platform/workdir.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTimer>

namespace pelorin {

DirTree::DirTree(QWidget *parent) : QTreeView(parent), mModel(new QFileSystemModel(this))
{
    mModel->setFilter(QDir::AllDirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::Drives);
    mModel->setReadOnly(true);
    mModel->setRootPath(QStringLiteral("/"));
    setModel(mModel);
    for (int column = 1; column < mModel->columnCount(); ++column)
        hideColumn(column);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Directories are read and sorted in the background: while they arrive just after a
    // directory was opened, keep it in sight.
    auto keepInSight = [this] {
        QTimer::singleShot(0, this, [this] {
            if (currentIndex().isValid() && mOpened.isValid() && mOpened.elapsed() < 3000)
                scrollTo(currentIndex());
        });
    };
    connect(mModel, &QFileSystemModel::directoryLoaded, this, keepInSight);
    connect(mModel, &QFileSystemModel::layoutChanged, this, keepInSight);
}

QString DirTree::directory() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? includeBackslash(mModel->filePath(current)) : QString();
}

void DirTree::setDirectory(const QString &path)
{
    const QModelIndex index = mModel->index(QDir(path).absolutePath());
    if (!index.isValid())
        return;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        expand(up);
    mOpened.start();
    scrollTo(index);
    setCurrentIndex(index); // reports the change, which may run a whole listing
}

void DirTree::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTreeView::currentChanged(current, previous);
    if (current.isValid())
        emit dirChange(includeBackslash(mModel->filePath(current)));
}

} // namespace pelorin
