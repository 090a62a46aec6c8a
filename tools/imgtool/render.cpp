// imgtool render IN OUT.png WxH: plays a metafile into a white W x H image.
#include "imgtool.h"

#include "imaging/metafile/metafilepicture.h"
#include "platform/error.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <cstdio>

int imgtool::render(const QStringList &args)
{
    static const QRegularExpression sizePattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch size = args.size() == 3 ? sizePattern.match(args[2]) : QRegularExpressionMatch();
    if (!size.hasMatch() || size.captured(1).toInt() == 0 || size.captured(2).toInt() == 0) {
        std::fputs("usage: imgtool render IN OUT.png WxH\n", stderr);
        return Usage;
    }
    try {
        QFile file(args[0]);
        if (!file.open(QIODevice::ReadOnly))
            throw pelorin::Error(QStringLiteral("Cannot open %1").arg(args[0]));
        const auto picture = pelorin::MetafilePicture::fromData(file.readAll());
        const QImage image = picture->render(QSize(size.captured(1).toInt(), size.captured(2).toInt()));
        if (!image.save(args[1], "PNG"))
            throw pelorin::Error(QStringLiteral("Cannot write %1").arg(args[1]));
        std::printf("%s: %d x %d %s\n", qPrintable(args[0]), picture->width(), picture->height(),
                    picture->isEnhanced() ? "EMF" : "WMF");
        return Success;
    } catch (const pelorin::Error &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return Refused;
    }
}
