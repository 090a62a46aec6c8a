#pragma once
// The rows behind ListView1: caption, own image index and the Size and Date sub-items,
// in display order. Shared by the icon view and the report view. Decorations come from
// the image list of the style in force, looked up by the item's own image index.

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace pelorin {

class ImageList;

class ImageListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Item
    {
        QString caption;
        int imageIndex = -1;
        QStringList subItems;
    };

    explicit ImageListModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    void setDecorations(const ImageList *images);
    bool isSorted() const { return mSorted; }
    void setSorted(bool sorted);

    void clear();
    // Appends, or inserts in caption order when sorted; returns the row.
    int add(const QString &caption, int imageIndex);
    void remove(int row);
    const Item &item(int row) const { return mItems.at(row); }
    void setCaption(int row, const QString &caption);
    void setSubItems(int row, const QStringList &subItems);
    int count() const { return int(mItems.size()); }
    void decorationsChanged();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Editing a caption only reports the new text; whoever listens decides on the rename.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

signals:
    void captionEdited(int row, const QString &newCaption);

private:
    int sortedPosition(const QString &caption) const;
    void sortItems();

    QList<Item> mItems;
    const ImageList *mImages = nullptr;
    bool mSorted = false;
};

} // namespace pelorin
