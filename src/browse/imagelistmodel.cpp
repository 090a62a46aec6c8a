#include "browse/imagelistmodel.h"

#include "browse/captionorder.h"
#include "browse/imagelistview.h"

#include <algorithm>
#include <numeric>

namespace pelorin {

namespace {
const char *const kColumns[] = {"File", "Size", "Date"};
}

void ImageListModel::setDecorations(const ImageList *images)
{
    mImages = images;
    decorationsChanged();
}

void ImageListModel::decorationsChanged()
{
    if (!mItems.isEmpty())
        emit dataChanged(index(0, 0), index(count() - 1, 0), {Qt::DecorationRole});
}

void ImageListModel::setSorted(bool sorted)
{
    if (mSorted == sorted)
        return;
    mSorted = sorted;
    if (mSorted)
        sortItems();
}

void ImageListModel::sortItems()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<int> order(mItems.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return compareCaptions(mItems.at(a).caption, mItems.at(b).caption) < 0; });
    QList<Item> sorted;
    sorted.reserve(mItems.size());
    QList<int> newRow(mItems.size());
    for (int i = 0; i < order.size(); ++i) {
        sorted.append(std::move(mItems[order.at(i)]));
        newRow[order.at(i)] = i;
    }
    mItems = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after.append(index(newRow.at(old.row()), old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ImageListModel::clear()
{
    if (mItems.isEmpty())
        return;
    beginResetModel();
    mItems.clear();
    endResetModel();
}

int ImageListModel::sortedPosition(const QString &caption) const
{
    // After any equal captions, so equal items keep the order they were added in.
    const auto it = std::upper_bound(mItems.cbegin(), mItems.cend(), caption,
                                     [](const QString &c, const Item &i) { return compareCaptions(c, i.caption) < 0; });
    return int(it - mItems.cbegin());
}

int ImageListModel::add(const QString &caption, int imageIndex)
{
    const int row = mSorted ? sortedPosition(caption) : count();
    beginInsertRows({}, row, row);
    mItems.insert(row, Item{caption, imageIndex, {}});
    endInsertRows();
    return row;
}

void ImageListModel::remove(int row)
{
    beginRemoveRows({}, row, row);
    mItems.removeAt(row);
    endRemoveRows();
}

void ImageListModel::setCaption(int row, const QString &caption)
{
    mItems[row].caption = caption;
    emit dataChanged(index(row, 0), index(row, 0));
    if (mSorted) {
        // Keep the order: move the item to where its new caption belongs.
        Item moved = mItems.at(row);
        beginRemoveRows({}, row, row);
        mItems.removeAt(row);
        endRemoveRows();
        const int to = sortedPosition(moved.caption);
        beginInsertRows({}, to, to);
        mItems.insert(to, std::move(moved));
        endInsertRows();
    }
}

void ImageListModel::setSubItems(int row, const QStringList &subItems)
{
    mItems[row].subItems = subItems;
    emit dataChanged(index(row, 1), index(row, columnCount() - 1));
}

int ImageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int ImageListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant ImageListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const Item &it = mItems.at(index.row());
    if (index.column() == 0) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
        case Qt::ToolTipRole:
            return it.caption;
        case Qt::DecorationRole:
            if (mImages && it.imageIndex >= 0 && it.imageIndex < mImages->count())
                return mImages->pixmap(it.imageIndex);
            return {};
        default:
            return {};
        }
    }
    if (role == Qt::DisplayRole && index.column() - 1 < it.subItems.size())
        return it.subItems.at(index.column() - 1);
    return {};
}

QVariant ImageListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 3)
        return QString::fromLatin1(kColumns[section]);
    return {};
}

Qt::ItemFlags ImageListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
    if (index.column() == 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ImageListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0)
        return false;
    emit captionEdited(index.row(), value.toString());
    return true;
}

} // namespace pelorin
