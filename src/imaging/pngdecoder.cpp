#include "imaging/pngdecoder.h"

#include "imaging/bmpdecoder.h"
#include "imaging/pngrows.h"

#include <png.h>

#include <cstring>

namespace pelorin::png {

namespace {

// Frees libpng's state on every path.
struct ImageGuard
{
    png_image image;
    ImageGuard()
    {
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
    }
    ~ImageGuard() { png_image_free(&image); }
    ImageGuard(const ImageGuard &) = delete;
    ImageGuard &operator=(const ImageGuard &) = delete;
};

quint32 bigEndian32(QByteArrayView data, qsizetype at)
{
    const auto *p = reinterpret_cast<const uchar *>(data.data()) + at;
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

// The data up to the first chunk other than image data that claims more bytes than the
// file holds: libpng sizes buffers by such a claim before it finds the data missing.
QByteArrayView plausibleChunks(QByteArrayView data)
{
    qsizetype at = 8;
    while (at + 12 <= data.size()) {
        const quint32 length = bigEndian32(data, at);
        const QByteArrayView type = data.sliced(at + 4, 4);
        if (qint64(length) > data.size() - at - 12 && type != QByteArrayView("IDAT"))
            return data.first(at);
        if (type == QByteArrayView("IEND"))
            break;
        at += 12 + qsizetype(length);
    }
    return data;
}

} // namespace

Result readPng(QByteArrayView file)
{
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (file.size() < 8 || std::memcmp(file.data(), signature, 8) != 0)
        return {{}, Status::NotPng};
    const QByteArrayView data = plausibleChunks(file);
    ImageGuard guard;
    png_image &image = guard.image;
    if (!png_image_begin_read_from_memory(&image, data.data(), size_t(data.size())))
        return {{}, Status::Damaged};
    if (image.width == 0 || image.height == 0)
        return {{}, Status::Damaged};
    if (qint64(image.width) * image.height > bmp::kMaxPixels)
        return {{}, Status::TooLarge};

    const bool mapped = image.format & PNG_FORMAT_FLAG_COLORMAP;
    const bool alpha = image.format & PNG_FORMAT_FLAG_ALPHA;
    const bool grey = !(image.format & PNG_FORMAT_FLAG_COLOR);
    QImage::Format format = QImage::Format_ARGB32;
    if (mapped) {
        image.format = PNG_FORMAT_BGRA_COLORMAP;
        format = QImage::Format_Indexed8;
    } else if (grey && !alpha) {
        image.format = PNG_FORMAT_GRAY;
        format = QImage::Format_Grayscale8;
    } else {
        image.format = PNG_FORMAT_BGRA;
        format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    }
    QImage result(int(image.width), int(image.height), format);
    if (result.isNull())
        return {{}, Status::TooLarge};
    if (!mapped && readPlainRows(data, result))
        return {result, Status::Ok};
    // Rows a damaged file does not reach stay cleared, so what was read can be kept.
    result.fill(0);
    QByteArray colourMap(mapped ? 256 * 4 : 0, '\0');
    const bool complete = png_image_finish_read(&image, nullptr, result.bits(), png_int_32(result.bytesPerLine()),
                                                mapped ? colourMap.data() : nullptr);
    if (mapped) {
        QList<QRgb> table;
        const auto *entry = reinterpret_cast<const uchar *>(colourMap.constData());
        for (int i = 0; i < 256; ++i, entry += 4) {
            // Entries beyond the map (indices a broken file may use) show black.
            table.append(i < int(image.colormap_entries) ? qRgba(entry[2], entry[1], entry[0], entry[3])
                                                         : qRgb(0, 0, 0));
        }
        result.setColorTable(table);
    }
    return {result, complete ? Status::Ok : Status::Damaged};
}

QString statusText(Status status)
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::NotPng:
        return QStringLiteral("not a PNG file");
    case Status::TooLarge:
        return QStringLiteral("image too large");
    case Status::Damaged:
        return QStringLiteral("file damaged or truncated");
    }
    return {};
}

} // namespace pelorin::png
