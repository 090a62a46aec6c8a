#include "imaging/systempicture.h"

#include "imaging/icondecoder.h"
#include "platform/error.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace pelorin {

namespace {

// The standard icon size that every icon reports, whatever its image's size.
constexpr int kIconSize = 32;

class IconPicture final : public SystemPicture
{
public:
    explicit IconPicture(QImage image) : mImage(std::move(image)) {}
    Kind kind() const override { return Kind::Icon; }
    int width() const override { return kIconSize; }
    int height() const override { return kIconSize; }
    void draw(QPainter &painter, const QRect &target) const override { painter.drawImage(target.topLeft(), mImage); }

private:
    QImage mImage;
};

} // namespace

std::unique_ptr<SystemPicture> loadSystemPicture(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("wmf") || ext == QLatin1String("emf"))
        return loadMetafile(path);
    if (ext == QLatin1String("ico"))
        return loadIcon(path);
    throw Error(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
}

std::unique_ptr<SystemPicture> loadIcon(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file %1").arg(path));
    QImage image = ico::readIcon(file.readAll());
    if (image.isNull())
        throw Error(QStringLiteral("%1 is not a valid icon").arg(path));
    return std::make_unique<IconPicture>(std::move(image));
}

} // namespace pelorin
