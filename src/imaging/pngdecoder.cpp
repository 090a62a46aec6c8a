#include "imaging/pngdecoder.h"

#include "imaging/bmpdecoder.h"

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

} // namespace

Result readPng(QByteArrayView data)
{
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (data.size() < 8 || std::memcmp(data.data(), signature, 8) != 0)
        return {{}, Status::NotPng};
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
            table.append(i < int(image.colormap_entries) ? qRgba(entry[2], entry[1], entry[0], entry[3]) : qRgb(0, 0, 0));
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
