#pragma once
// The picture of an image holder: empty, a bitmap (after a raster load), or the system
// picture of an icon or a metafile. Copies share the system picture, which is immutable.

#include "imaging/systempicture.h"

#include <QImage>

#include <memory>

class QPainter;
class QRect;

namespace pelorin {

class Picture
{
public:
    enum class Kind { Empty, Bitmap, Icon, Metafile };

    Kind kind() const;
    bool isEmpty() const { return kind() == Kind::Empty; }
    // Size in pixels; an icon reports the standard icon size, an empty picture 0 x 0.
    int width() const;
    int height() const;
    QSize size() const { return {width(), height()}; }

    const QImage &bitmap() const { return mBitmap; }                // null unless kind() is Bitmap
    const SystemPicture *graphic() const { return mGraphic.get(); } // icon or metafile

    void clear();
    // A null image empties the picture.
    void setBitmap(QImage image);
    // Loads an icon or a metafile through the system picture. Raises pelorin::Error when
    // the file cannot be loaded; the picture is then unchanged.
    void loadFromFile(const QString &path);

    // Draws into target: a bitmap scaled to exactly the rectangle on each axis without
    // smoothing, a metafile played into it, an icon at its own size at the top-left.
    void drawStretched(QPainter &painter, const QRect &target) const;

    // The picture as a bitmap of its own size (icons and metafiles drawn on white);
    // null when empty.
    QImage toImage() const;

private:
    QImage mBitmap;
    std::shared_ptr<const SystemPicture> mGraphic;
};

} // namespace pelorin
