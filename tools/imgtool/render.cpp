// imgtool render IN OUT.png WxH: plays a metafile into a white W x H image; any other
// image is loaded by the image component and drawn stretched, as thumbnails are.
#include "imgtool.h"
#include "imgtoolsupport.h"

#include "imaging/imagecomponent.h"
#include "imaging/imageextension.h"
#include "imaging/metafile/metafilepicture.h"
#include "platform/error.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <cstdio>

namespace {

QImage renderMetafile(const QString &path, QSize size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw pelorin::Error(QStringLiteral("Cannot open %1").arg(path));
    const auto picture = pelorin::MetafilePicture::fromData(file.readAll());
    imgtool::printLine(QStringLiteral("%1: %2 x %3 %4")
                           .arg(path)
                           .arg(picture->width())
                           .arg(picture->height())
                           .arg(picture->isEnhanced() ? QStringLiteral("EMF") : QStringLiteral("WMF")));
    return picture->render(size);
}

QImage renderOther(const QString &path, QSize size)
{
    imgtool::PrintedMessages messages;
    pelorin::ImageComponent component;
    component.setImageName(path);
    const pelorin::Picture &picture = component.picture();
    if (picture.isEmpty())
        throw pelorin::Error(QStringLiteral("%1: nothing loaded").arg(path));
    imgtool::printLine(QStringLiteral("%1: %2 x %3").arg(path).arg(picture.width()).arg(picture.height()));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.drawStretched(painter, image.rect());
    return image;
}

} // namespace

int imgtool::render(const QStringList &args)
{
    static const QRegularExpression sizePattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = args.size() == 3 ? sizePattern.match(args[2]) : QRegularExpressionMatch();
    const QSize size = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
    if (size.isEmpty()) {
        std::fputs("usage: imgtool render IN OUT.png WxH\n", stderr);
        return Usage;
    }
    try {
        const QImage image = pelorin::fileKind(args[0]) == pelorin::FileKind::Metafile ? renderMetafile(args[0], size)
                                                                                       : renderOther(args[0], size);
        if (!image.save(args[1], "PNG"))
            throw pelorin::Error(QStringLiteral("Cannot write %1").arg(args[1]));
        return Success;
    } catch (const pelorin::Error &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return Refused;
    }
}
