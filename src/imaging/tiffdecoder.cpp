#include "imaging/tiffdecoder.h"

#include "imaging/bmpdecoder.h"
#include "imaging/orientation.h"
#include "imaging/tiffsamples.h"


#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace pelorin::tiff {

namespace {

struct Source
{
    QByteArrayView data;
    toff_t at = 0;
};

tmsize_t readProc(thandle_t handle, void *buffer, tmsize_t size)
{
    auto *source = static_cast<Source *>(handle);
    const toff_t left = toff_t(source->data.size()) - std::min<toff_t>(source->at, toff_t(source->data.size()));
    const tmsize_t count = tmsize_t(std::min<toff_t>(left, toff_t(std::max<tmsize_t>(size, 0))));
    std::memcpy(buffer, source->data.data() + source->at, size_t(count));
    source->at += toff_t(count);
    return count;
}

tmsize_t writeProc(thandle_t, void *, tmsize_t)
{
    return 0;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence)
{
    auto *source = static_cast<Source *>(handle);
    const toff_t size = toff_t(source->data.size());
    toff_t target = offset;
    if (whence == SEEK_CUR)
        target = source->at + offset;
    else if (whence == SEEK_END)
        target = size + offset;
    source->at = target;
    return target;
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t handle)
{
    return toff_t(static_cast<Source *>(handle)->data.size());
}

int mapProc(thandle_t handle, void **base, toff_t *size)
{
    auto *source = static_cast<Source *>(handle);
    *base = const_cast<char *>(source->data.data());
    *size = toff_t(source->data.size());
    return 1;
}

void unmapProc(thandle_t, void *, toff_t) {}

// libtiff's messages go nowhere: the caller reports a status of its own.
int quiet(TIFF *, void *, const char *, const char *, va_list)
{
    return 1;
}

struct CloseTiff
{
    void operator()(TIFF *file) const { TIFFClose(file); }
};

struct FreeOptions
{
    void operator()(TIFFOpenOptions *options) const { TIFFOpenOptionsFree(options); }
};

} // namespace

Result readTiff(QByteArrayView data)
{
    if (data.size() < 8 || !((data[0] == 'I' && data[1] == 'I') || (data[0] == 'M' && data[1] == 'M')))
        return {{}, Status::NotTiff};
    const std::unique_ptr<TIFFOpenOptions, FreeOptions> options(TIFFOpenOptionsAlloc());
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), quiet, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), tmsize_t(bmp::kMaxPixels) * 4);
    Source source{data};
    const std::unique_ptr<TIFF, CloseTiff> file(TIFFClientOpenExt(
        "memory", "r", &source, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc, unmapProc, options.get()));
    if (!file)
        return {{}, Status::NotTiff};
    uint32_t width = 0;
    uint32_t height = 0;
    TIFFGetField(file.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(file.get(), TIFFTAG_IMAGELENGTH, &height);
    if (width == 0 || height == 0)
        return {{}, Status::Damaged};
    if (qint64(width) * height > bmp::kMaxPixels)
        return {{}, Status::TooLarge};
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(file.get(), TIFFTAG_ORIENTATION, &orientation);
    char message[1024] = {};
    if (!TIFFRGBAImageOK(file.get(), message)) {
        if (!hasGreySamples(file.get()))
            return {{}, Status::Unsupported};
        bool complete = false;
        const QImage grey = readGreySamples(file.get(), width, height, complete);
        if (grey.isNull())
            return {{}, Status::Damaged};
        return {oriented(grey, orientation), complete ? Status::Ok : Status::Damaged};
    }

    // Without extra samples there is no alpha to keep.
    uint16_t extra = 0;
    uint16_t *extraTypes = nullptr;
    TIFFGetFieldDefaulted(file.get(), TIFFTAG_EXTRASAMPLES, &extra, &extraTypes);

    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        return {{}, Status::TooLarge};
    // Pixels a damaged file does not reach stay black (clear when the file has alpha).
    image.fill(extra ? 0u : 0xff000000u);
    // Rows as stored (the requested orientation is the file's own), turned afterwards.
    auto *raster = reinterpret_cast<uint32_t *>(image.bits());
    const int ok = TIFFReadRGBAImageOriented(file.get(), width, height, raster, orientation, 0);
    for (uint32_t y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t p = row[x];
            row[x] = qRgba(int(TIFFGetR(p)), int(TIFFGetG(p)), int(TIFFGetB(p)), int(TIFFGetA(p)));
        }
    }
    if (extra == 0)
        image.reinterpretAsFormat(QImage::Format_RGB32); // every alpha is opaque
    return {oriented(image, orientation), ok ? Status::Ok : Status::Damaged};
}

QString statusText(Status status)
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::NotTiff:
        return QStringLiteral("not a TIFF file");
    case Status::Unsupported:
        return QStringLiteral("unsupported TIFF image type");
    case Status::TooLarge:
        return QStringLiteral("image too large");
    case Status::Damaged:
        return QStringLiteral("file damaged or truncated");
    }
    return {};
}

} // namespace pelorin::tiff
