#pragma once
// ListView1: the main window's list of files, in icon style (large thumbnails from
// ImageList1 above the caption) or report style (small thumbnails from ImageList2 and
// the columns File, Size and Date). Items keep their own image index, so sorting never
// mixes up thumbnails. Rows are counted in display order.

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QWidget>

#include <memory>

namespace pelorin {

// An image list: tiles of one size, stored masked (pure white drawn transparent).
class ImageList
{
public:
    ImageList(int width, int height) : mWidth(width), mHeight(height) {}
    int width() const { return mWidth; }
    int height() const { return mHeight; }
    // Changing the size empties the list.
    void setSize(int width, int height);
    void clear() { mImages.clear(); }
    // Adds a tile, making every pixel of maskColour transparent; returns its index.
    int addMasked(const QImage &tile, QRgb maskColour = 0xffffffff);
    int count() const { return int(mImages.size()); }
    const QPixmap &pixmap(int index) const { return mImages.at(index); }

private:
    int mWidth;
    int mHeight;
    QList<QPixmap> mImages;
};

class ImageListView : public QWidget
{
    Q_OBJECT
public:
    enum class Style { Icon, Report };

    explicit ImageListView(QWidget *parent = nullptr);
    ~ImageListView() override;

    Style viewStyle() const;
    void setViewStyle(Style style);
    bool isSorted() const;
    void setSorted(bool sorted); // on: sorts at once by compareCaptions and keeps sorting

    ImageList &largeImages(); // ImageList1
    ImageList &smallImages(); // ImageList2

    void clearItems();
    void addItem(const QString &caption, int imageIndex);
    int count() const;
    QString caption(int row) const;
    int imageIndex(int row) const;
    void setCaption(int row, const QString &caption);
    void removeItem(int row);
    void setSubItems(int row, const QString &size, const QString &date);
    QStringList subItems(int row) const;

    QList<int> selectedRows() const;
    void selectAll();
    void setCurrentRow(int row);
    void setImagesChanged(); // repaint after tiles were added to an image list

signals:
    void itemDoubleClicked(int row);
    void columnClicked(int column);
    void captionEdited(int row, const QString &newCaption);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace pelorin
