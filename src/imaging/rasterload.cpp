#include "imaging/rasterload.h"

#include "imaging/bmpdecoder.h"
#include "imaging/codec/codec.h"
#include "imaging/gifdecoder.h"
#include "imaging/imageextension.h"
#include "imaging/jpegdecoder.h"
#include "imaging/pngdecoder.h"
#include "imaging/tiffdecoder.h"

#include <QFile>
#include <QFileInfo>

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

// Reads the whole file and hands it to one of our decoders. A decoder that may decode
// scaled reports the picture's full size itself.
template <class Decode, class Text> Read readWhole(const QString &path, QSize &originalSize, Decode decode, Text text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("cannot open file")};
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, QStringLiteral("cannot read file")};
    auto decoded = decode(data);
    if constexpr (requires { decoded.originalSize; })
        originalSize = decoded.originalSize;
    else
        originalSize = decoded.image.size();
    return {std::move(decoded.image), text(decoded.status)};
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
            read = readWhole(request.path, result.originalSize, bmp::readFile, bmp::statusText);
            break;
        case RasterReader::Gif:
            read = readWhole(request.path, result.originalSize, gif::readGif, gif::statusText);
            break;
        case RasterReader::Png:
            read = readWhole(request.path, result.originalSize, png::readPng, png::statusText);
            break;
        case RasterReader::Tiff:
            read = readWhole(request.path, result.originalSize, tiff::readTiff, tiff::statusText);
            break;
        case RasterReader::Pcx:
            read = readPcx(request.path, result.originalSize);
            break;
        case RasterReader::Jpeg:
            read = readWhole(
                request.path, result.originalSize,
                [&](const QByteArray &data) { return jpeg::readJpeg(data, {request.scaleHint}); }, jpeg::statusText);
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
