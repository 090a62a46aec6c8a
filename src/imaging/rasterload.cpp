#include "imaging/rasterload.h"

#include "imaging/bmpdecoder.h"
#include "imaging/codec/codec.h"
#include "imaging/gifdecoder.h"
#include "imaging/imageextension.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <new>

namespace pelorin {

namespace {

struct Read
{
    QImage image;
    QString failure; // the reader's own text; empty on success
};

QString readerName(RasterReader reader)
{
    switch (reader) {
    case RasterReader::Bmp:
        return QStringLiteral("bmp");
    case RasterReader::Jpeg:
        return QStringLiteral("jpg");
    case RasterReader::Png:
        return QStringLiteral("png");
    case RasterReader::Gif:
        return QStringLiteral("gif");
    case RasterReader::Tiff:
        return QStringLiteral("tif");
    case RasterReader::Pcx:
        return QStringLiteral("pcx");
    default:
        return {};
    }
}

QString formatTitle(RasterReader reader)
{
    switch (reader) {
    case RasterReader::Jpeg:
        return QStringLiteral("JPEG");
    case RasterReader::Png:
        return QStringLiteral("PNG");
    case RasterReader::Gif:
        return QStringLiteral("GIF");
    case RasterReader::Tiff:
        return QStringLiteral("TIFF");
    default:
        return QStringLiteral("BMP");
    }
}

bool rotatesQuarter(QImageIOHandler::Transformations t)
{
    return t.testFlag(QImageIOHandler::TransformationRotate90);
}

// The largest of libjpeg's 1/2, 1/4 and 1/8 decodes that stays at or above hint.
QSize jpegScaledSize(QSize full, QSize hint)
{
    for (int denom : {8, 4, 2}) {
        const QSize scaled(full.width() / denom, full.height() / denom);
        if (scaled.width() >= hint.width() && scaled.height() >= hint.height() && !scaled.isEmpty())
            return scaled;
    }
    return {};
}

Read readWithQt(const QString &path, RasterReader reader, const QSize &scaleHint, QSize &originalSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("cannot open file")};
    const char *format = reader == RasterReader::Jpeg ? "jpeg" : reader == RasterReader::Png ? "png" : "tiff";
    QImageReader imageReader(&file, format);
    imageReader.setAutoDetectImageFormat(false);
    const bool orient = reader == RasterReader::Jpeg || reader == RasterReader::Tiff;
    imageReader.setAutoTransform(orient);
    if (!imageReader.canRead())
        return {{}, QStringLiteral("not a %1 file").arg(formatTitle(reader))};

    QSize stored = imageReader.size();
    const bool turned = orient && rotatesQuarter(imageReader.transformation());
    originalSize = turned ? stored.transposed() : stored;
    if (reader == RasterReader::Jpeg && scaleHint.isValid() && stored.isValid()) {
        const QSize hint = turned ? scaleHint.transposed() : scaleHint;
        const QSize scaled = jpegScaledSize(stored, hint);
        if (scaled.isValid())
            imageReader.setScaledSize(scaled);
    }
    if (stored.isValid()) {
        const qint64 bytes = qint64(stored.width()) * stored.height() * 4;
        if (bytes > qint64(QImageReader::allocationLimit()) * 1024 * 1024)
            return {{}, QStringLiteral("image too large")};
    }
    QImage image;
    if (imageReader.read(&image))
        return {image, {}};
    switch (imageReader.error()) {
    case QImageReader::DeviceError:
        return {image, QStringLiteral("cannot read file")};
    case QImageReader::UnsupportedFormatError:
        return {image, QStringLiteral("not a %1 file").arg(formatTitle(reader))};
    default:
        return {image, QStringLiteral("file damaged or truncated")};
    }
}

Read readBmp(const QString &path, QSize &originalSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("cannot open file")};
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, QStringLiteral("cannot read file")};
    bmp::Result decoded = bmp::readFile(data);
    originalSize = decoded.image.size();
    if (decoded.status == bmp::Status::Ok)
        return {std::move(decoded.image), {}};
    return {std::move(decoded.image), bmp::statusText(decoded.status)};
}

Read readGif(const QString &path, QSize &originalSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("cannot open file")};
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, QStringLiteral("cannot read file")};
    gif::Result decoded = gif::readGif(data);
    originalSize = decoded.image.size();
    if (decoded.status == gif::Status::Ok)
        return {std::move(decoded.image), {}};
    return {std::move(decoded.image), gif::statusText(decoded.status)};
}

Read readPcx(const QString &path, QSize &originalSize)
{
    codec::ReadResult decoded = codec::readPcx(path);
    originalSize = decoded.image.size();
    if (decoded.status > 0)
        return {std::move(decoded.image), {}};
    QString text = codec::statusText(decoded.status);
    if (text.isEmpty())
        text = QStringLiteral("PCX reader error %1").arg(quint16(decoded.status));
    return {std::move(decoded.image), text};
}

} // namespace

RasterReader rasterReaderFor(const QString &fileName)
{
    // The extension with its dot, upper-cased, of which only four characters count.
    const QString key = ImageExtension(fileName).left(4).toUpper();
    if (key == QLatin1String(".BMP") || key == QLatin1String(".DIB"))
        return RasterReader::Bmp;
    if (key == QLatin1String(".JPG"))
        return RasterReader::Jpeg;
    if (key == QLatin1String(".PNG"))
        return RasterReader::Png;
    if (key == QLatin1String(".GIF"))
        return RasterReader::Gif;
    if (key == QLatin1String(".TIF"))
        return RasterReader::Tiff;
    if (key == QLatin1String(".PCX"))
        return RasterReader::Pcx;
    if (key == QLatin1String(".WMF") || key == QLatin1String(".ICO"))
        return RasterReader::SystemPicture;
    return RasterReader::None;
}

RasterLoadResult loadRaster(const RasterLoadRequest &request)
{
    return loadRasterWith(rasterReaderFor(request.path), request);
}

RasterLoadResult loadRasterWith(RasterReader reader, const RasterLoadRequest &request)
{
    RasterLoadResult result;
    try {
        if (!QFileInfo::exists(request.path)) {
            result.outcome = RasterLoadResult::Outcome::Missing;
            return result;
        }
        Read read;
        switch (reader) {
        case RasterReader::None:
        case RasterReader::SystemPicture:
            result.outcome = RasterLoadResult::Outcome::Unrecognised;
            return result;
        case RasterReader::Bmp:
            read = readBmp(request.path, result.originalSize);
            break;
        case RasterReader::Gif:
            read = readGif(request.path, result.originalSize);
            break;
        case RasterReader::Pcx:
            read = readPcx(request.path, result.originalSize);
            break;
        default:
            read = readWithQt(request.path, reader, request.scaleHint, result.originalSize);
            break;
        }
        if (!read.image.isNull() && request.displayDepth < 24)
            read.image = codec::reduceColours(read.image, request.displayDepth, request.dither);
        result.image = std::move(read.image);
        if (read.failure.isEmpty()) {
            result.outcome = RasterLoadResult::Outcome::Loaded;
        } else {
            result.outcome = RasterLoadResult::Outcome::ReaderFailed;
            result.messages = {read.failure, QStringLiteral("Reading %1 file failed").arg(readerName(reader))};
        }
    } catch (...) {
        // Out of memory or any other breakdown inside a reader: the picture becomes empty.
        result = RasterLoadResult();
        result.outcome = RasterLoadResult::Outcome::Unexpected;
    }
    return result;
}

} // namespace pelorin
