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
    // When the current directory (or one above it) disappears from the disk, the parent
    // of what disappeared becomes current, not whichever neighbour moves into its row.
    // Connected before the view's own handling of removed rows, so it comes first; the
    // report waits until the model has finished removing.
    connect(mModel, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this](const QModelIndex &above, int first, int last) {
        for (QModelIndex up = currentIndex(); up.isValid(); up = up.parent()) {
            if (up.parent() == above && up.row() >= first && up.row() <= last) {
                mReportLater = true;
                setCurrentIndex(above);
                mReportLater = false;
                return;
            }
        }
    });
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
    if (!current.isValid())
        return;
    const QString path = includeBackslash(mModel->filePath(current));
    if (mReportLater) {
        QTimer::singleShot(0, this, [this, path] {
            if (directory() == path)
                emit dirChange(path);
        });
        return;
    }
    emit dirChange(path);
}

} // namespace pelorin
