// TIFF through libtiff: one image, uncompressed, CCITT modified Huffman, LZW or
// PackBits. Palette depths carry a colour map (1 bit is written as black and white,
// min-is-black, or min-is-white under CCITT as fax readers expect); 24 bits is RGB.
// CCITT compression exists only for black and white, so under it every image is
// reduced to black and white whatever depth was asked.
#include "imaging/codec/codec.h"
#include "imaging/codec/writersupport.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace pelorin::codec {

namespace {

// A growable in-memory file for libtiff, which seeks and reads back while writing.
struct MemoryFile
{
    QByteArray bytes;
    qint64 position = 0;
};

tmsize_t readProc(thandle_t h, void *buf, tmsize_t size)
{
    auto *f = static_cast<MemoryFile *>(h);
    const qint64 n = std::max<qint64>(0, std::min<qint64>(size, f->bytes.size() - f->position));
    std::memcpy(buf, f->bytes.constData() + f->position, size_t(n));
    f->position += n;
    return tmsize_t(n);
}

tmsize_t writeProc(thandle_t h, void *buf, tmsize_t size)
{
    auto *f = static_cast<MemoryFile *>(h);
    try {
        const qint64 end = f->position + size;
        if (end > f->bytes.size())
            f->bytes.resize(qsizetype(end));
        std::memcpy(f->bytes.data() + f->position, buf, size_t(size));
        f->position = end;
        return size;
    } catch (...) {
        return -1;
    }
}

toff_t seekProc(thandle_t h, toff_t offset, int whence)
{
    auto *f = static_cast<MemoryFile *>(h);
    qint64 base = 0;
    if (whence == SEEK_CUR)
        base = f->position;
    else if (whence == SEEK_END)
        base = f->bytes.size();
    const qint64 target = base + qint64(offset);
    if (target < 0 || target > qint64(0x7fffffff))
        return toff_t(-1);
    f->position = target;
    return toff_t(target);
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t h)
{
    return toff_t(static_cast<MemoryFile *>(h)->bytes.size());
}

int mapProc(thandle_t, void **, toff_t *)
{
    return 0;
}

void unmapProc(thandle_t, void *, toff_t) {}

int quietHandler(TIFF *, void *, const char *, const char *, va_list)
{
    return 1;
}

bool knownCompression(int compression)
{
    return compression == COMPRESSION_NONE || compression == COMPRESSION_CCITTRLE || compression == COMPRESSION_LZW
           || compression == COMPRESSION_PACKBITS;
}

struct TiffWrite
{
    TIFFOpenOptions *options = nullptr;
    TIFF *tif = nullptr;
    ~TiffWrite()
    {
        if (tif)
            TIFFClose(tif);
        if (options)
            TIFFOpenOptionsFree(options);
    }
};

int encode(const QImage &source, int depth, int compression, MemoryFile &file)
{
    const bool ccitt = compression == COMPRESSION_CCITTRLE;
    if (ccitt)
        depth = 1;
    QImage image;
    int bits = 8;
    if (depth == 24) {
        image = source.convertToFormat(QImage::Format_RGB888);
    } else {
        const detail::IndexedImage indexed = detail::indexedImage(source, depth);
        image = indexed.image;
        bits = indexed.bits;
    }
    if (image.isNull())
        return kOutOfMemory;

    TiffWrite w;
    w.options = TIFFOpenOptionsAlloc();
    if (!w.options)
        return kOutOfMemory;
    TIFFOpenOptionsSetErrorHandlerExtR(w.options, quietHandler, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(w.options, quietHandler, nullptr);
    w.tif = TIFFClientOpenExt("memory", "w", &file, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                              unmapProc, w.options);
    if (!w.tif)
        return kEncoderError;
    TIFF *tif = w.tif;
    const int samples = depth == 24 ? 3 : 1;
    int photometric = PHOTOMETRIC_RGB;
    if (bits == 1)
        photometric = ccitt ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK;
    else if (depth != 24)
        photometric = PHOTOMETRIC_PALETTE;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(image.width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(image.height()));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(bits));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(samples));
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, uint16_t(photometric));
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
    if (!TIFFSetField(tif, TIFFTAG_COMPRESSION, uint16_t(compression)))
        return kUnsupportedCompression;
    // Horizontal differencing lets LZW find the runs in photographs.
    if (compression == COMPRESSION_LZW && depth == 24)
        TIFFSetField(tif, TIFFTAG_PREDICTOR, uint16_t(PREDICTOR_HORIZONTAL));
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    if (detail::dotsPerInchX(source) > 0 && detail::dotsPerInchY(source) > 0) {
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, uint16_t(RESUNIT_INCH));
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, float(source.dotsPerMeterX() * 0.0254));
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, float(source.dotsPerMeterY() * 0.0254));
    }
    if (photometric == PHOTOMETRIC_PALETTE) {
        const QList<QRgb> palette = image.colorTable();
        std::vector<uint16_t> r(size_t(1) << bits, 0), g(r.size(), 0), b(r.size(), 0);
        for (qsizetype i = 0; i < palette.size() && size_t(i) < r.size(); ++i) {
            r[size_t(i)] = uint16_t(qRed(palette[i]) * 257);
            g[size_t(i)] = uint16_t(qGreen(palette[i]) * 257);
            b[size_t(i)] = uint16_t(qBlue(palette[i]) * 257);
        }
        TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }

    const qsizetype rowBytes = (qsizetype(image.width()) * bits * samples + 7) / 8;
    std::vector<uchar> row(static_cast<size_t>(rowBytes));
    for (int y = 0; y < image.height(); ++y) {
        const uchar *in = image.constScanLine(y);
        if (depth == 24) {
            std::memcpy(row.data(), in, size_t(rowBytes));
        } else {
            detail::packRow(in, image.width(), bits, row.data(), rowBytes);
            if (photometric == PHOTOMETRIC_MINISWHITE)
                for (uchar &c : row)
                    c = uchar(~c);
        }
        if (TIFFWriteScanline(tif, row.data(), uint32_t(y), 0) < 0)
            return kEncoderError;
    }
    w.tif = nullptr;
    if (!TIFFWriteDirectory(tif)) {
        TIFFClose(tif);
        return kEncoderError;
    }
    TIFFClose(tif);
    return kOk;
}

} // namespace

int writeTiff(const QImage &image, const QString &path, int depth, int compression)
{
    if (image.isNull())
        return kNoImage;
    if (!detail::isWriterDepth(depth))
        return kUnsupportedDepth;
    if (!knownCompression(compression))
        return kUnsupportedCompression;
    try {
        MemoryFile file;
        const int status = encode(image, depth, compression, file);
        return status > 0 ? detail::writeFileAtomically(path, file.bytes) : status;
    } catch (const std::bad_alloc &) {
        return kOutOfMemory;
    }
}

} // namespace pelorin::codec
