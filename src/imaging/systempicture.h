#pragma once
// The "system picture": icons and metafiles, which the program loads through picture
// classes of their own rather than the raster image component. A system picture knows
// its size and draws itself into a rectangle of any painter (screen, thumbnail,
// printer at full resolution, conversion bitmap).

#include <QRect>
#include <QString>

#include <memory>

class QPainter;

namespace pelorin {

class SystemPicture
{
public:
    enum class Kind { Icon, Metafile };

    virtual ~SystemPicture() = default;
    virtual Kind kind() const = 0;
    // Size in screen pixels. An icon always reports the standard icon size, 32 x 32.
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Metafiles are played into target, stretched on each axis; icons are drawn at
    // their own size at target's top-left corner.
    virtual void draw(QPainter &painter, const QRect &target) const = 0;
};

// Loads by extension: ".wmf" and ".emf" as metafiles, ".ico" as an icon. Anything the
// loader cannot read (missing, not of its kind, broken) raises pelorin::Error.
std::unique_ptr<SystemPicture> loadSystemPicture(const QString &path);

// The two kinds' own loaders; both raise pelorin::Error on failure.
std::unique_ptr<SystemPicture> loadMetafile(const QString &path);
std::unique_ptr<SystemPicture> loadIcon(const QString &path);

} // namespace pelorin
