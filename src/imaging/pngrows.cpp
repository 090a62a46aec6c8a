#include "imaging/pngrows.h"

#include <libdeflate.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace pelorin::png {

namespace {

constexpr quint32 kLargestChunk = 0x7fffffff;
// Every row buffer has this many zero bytes before the pixels (the left neighbours of the
// first pixel) and after them (so four-byte loads of a three-byte pixel stay inside).
constexpr qsizetype kPad = 4;

quint32 bigEndian32(const uchar *p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

bool isType(const uchar *type, const char *name)
{
    return std::memcmp(type, name, 4) == 0;
}

struct Layout
{
    quint32 width = 0;
    quint32 height = 0;
    int colourType = 0;
    std::vector<QByteArrayView> imageData;
};

// The file's header and the run of image data chunks, when every chunk up to the end of
// that run is whole, has the right checksum, and asks for nothing but a plain decode.
bool plainLayout(QByteArrayView data, Layout &layout)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.data());
    qsizetype at = 8;
    bool inImageData = false;
    while (at + 12 <= data.size()) {
        const uchar *type = bytes + at + 4;
        const bool imageData = isType(type, "IDAT");
        if (inImageData && !imageData)
            break; // the decoder reads nothing after the image data
        const quint32 length = bigEndian32(bytes + at);
        if (length > kLargestChunk || qint64(length) > data.size() - at - 12)
            return false;
        const uchar *body = type + 4;
        if (crc32(0, type, uInt(length) + 4) != bigEndian32(body + length))
            return false;
        if (imageData) {
            inImageData = true;
            layout.imageData.emplace_back(reinterpret_cast<const char *>(body), qsizetype(length));
        } else if (isType(type, "IHDR")) {
            if (at != 8 || length != 13)
                return false;
            layout.width = bigEndian32(body);
            layout.height = bigEndian32(body + 4);
            layout.colourType = body[9];
            const bool known = layout.colourType == 0 || layout.colourType == 2 || layout.colourType == 4 ||
                               layout.colourType == 6; // not palette
            if (!known || body[8] != 8 || body[10] != 0 || body[11] != 0 || body[12] != 0)
                return false; // other depths, compression, filtering or interlacing
        } else if (isType(type, "tRNS")) {
            return false; // transparency turns into alpha
        } else if (isType(type, "gAMA")) {
            // Only a gamma the display shares (sRGB's 1/2.2) leaves the samples as stored.
            if (length != 4 || bigEndian32(body) < 45000 || bigEndian32(body) > 46000)
                return false;
        } else if (!(type[0] & 0x20) && !isType(type, "PLTE")) {
            return false; // a critical chunk a plain decode does not know
        }
        at += 12 + qsizetype(length);
    }
    return layout.width > 0 && layout.height > 0 && !layout.imageData.empty();
}

// Reverses the row filters: `source` is the filtered row, `row` receives the pixels and
// `above` holds the row above; both have kPad zero bytes before the first pixel (the top
// row's `above` is all zeros).
#ifdef __SSE2__
__m128i widen(const uchar *p)
{
    int value;
    std::memcpy(&value, p, 4);
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(value), _mm_setzero_si128());
}

__m128i magnitude(__m128i v)
{
    return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}

__m128i choose(__m128i mask, __m128i yes, __m128i no)
{
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// One pixel at a time (each depends on its left neighbour), its channels side by side.
template <int bpp> void paethWide(const uchar *source, uchar *row, const uchar *above, qsizetype count)
{
    const __m128i low = _mm_set1_epi16(0xff);
    __m128i left = _mm_setzero_si128();
    __m128i corner = _mm_setzero_si128();
    for (qsizetype i = 0; i < count; i += bpp) {
        const __m128i up = widen(above + i);
        const __m128i toLeft = _mm_sub_epi16(up, corner);
        const __m128i toUp = _mm_sub_epi16(left, corner);
        const __m128i toCorner = magnitude(_mm_add_epi16(toLeft, toUp));
        const __m128i leftDistance = magnitude(toLeft);
        const __m128i upDistance = magnitude(toUp);
        const __m128i nearest = _mm_min_epi16(toCorner, _mm_min_epi16(leftDistance, upDistance));
        const __m128i predicted = choose(_mm_cmpeq_epi16(nearest, leftDistance), left,
                                         choose(_mm_cmpeq_epi16(nearest, upDistance), up, corner));
        left = _mm_and_si128(_mm_add_epi16(widen(source + i), predicted), low);
        const int value = _mm_cvtsi128_si32(_mm_packus_epi16(left, left));
        std::memcpy(row + i, &value, bpp);
        corner = up;
    }
}
#endif

void paethNarrow(const uchar *source, uchar *row, const uchar *above, qsizetype count, int bpp)
{
    for (qsizetype i = 0; i < count; ++i) {
        const int a = row[i - bpp];
        const int b = above[i];
        const int c = above[i - bpp];
        const int pa = std::abs(b - c);
        const int pb = std::abs(a - c);
        const int pc = std::abs(a + b - 2 * c);
        const int predicted = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
        row[i] = uchar(source[i] + predicted);
    }
}

bool unfilter(int filter, const uchar *source, uchar *row, const uchar *above, qsizetype count, int bpp)
{
    switch (filter) {
    case 0:
        std::memcpy(row, source, size_t(count));
        return true;
    case 1:
        for (qsizetype i = 0; i < count; ++i)
            row[i] = uchar(source[i] + row[i - bpp]);
        return true;
    case 2:
        for (qsizetype i = 0; i < count; ++i)
            row[i] = uchar(source[i] + above[i]);
        return true;
    case 3:
        for (qsizetype i = 0; i < count; ++i)
            row[i] = uchar(source[i] + ((row[i - bpp] + above[i]) >> 1));
        return true;
    case 4:
#ifdef __SSE2__
        if (bpp == 3) {
            paethWide<3>(source, row, above, count);
            return true;
        }
        if (bpp == 4) {
            paethWide<4>(source, row, above, count);
            return true;
        }
#endif
        paethNarrow(source, row, above, count, bpp);
        return true;
    }
    return false; // no such filter: the file is damaged
}

// One decoded row into the picture, in the byte order of libpng's BGRA output.
void store(const uchar *row, uchar *out, quint32 width, int colourType)
{
    switch (colourType) {
    case 0:
        std::memcpy(out, row, width);
        break;
    case 2:
        for (quint32 x = 0; x < width; ++x, row += 3, out += 4) {
            out[0] = row[2];
            out[1] = row[1];
            out[2] = row[0];
            out[3] = 0xff;
        }
        break;
    case 4:
        for (quint32 x = 0; x < width; ++x, row += 2, out += 4) {
            out[0] = out[1] = out[2] = row[0];
            out[3] = row[1];
        }
        break;
    case 6:
        for (quint32 x = 0; x < width; ++x, row += 4, out += 4) {
            out[0] = row[2];
            out[1] = row[1];
            out[2] = row[0];
            out[3] = row[3];
        }
        break;
    }
}

struct FreeDecompressor
{
    void operator()(libdeflate_decompressor *inflater) const { libdeflate_free_decompressor(inflater); }
};

QImage::Format formatFor(int colourType)
{
    switch (colourType) {
    case 0:
        return QImage::Format_Grayscale8;
    case 2:
        return QImage::Format_RGB32;
    default:
        return QImage::Format_ARGB32;
    }
}

} // namespace

bool readPlainRows(QByteArrayView data, QImage &image)
{
    Layout layout;
    if (!plainLayout(data, layout))
        return false;
    if (image.format() != formatFor(layout.colourType) || quint32(image.width()) != layout.width ||
        quint32(image.height()) != layout.height)
        return false;
    static const int channels[7] = {1, 0, 3, 0, 2, 0, 4};
    const int bpp = channels[layout.colourType];
    const qsizetype rowBytes = qsizetype(layout.width) * bpp;
    const qsizetype stride = kPad + rowBytes + kPad;
    std::vector<uchar> buffers(size_t(stride) * 2, 0);
    uchar *row = buffers.data() + kPad;
    uchar *above = row + stride;

    // Deflate cannot shrink data much more than a thousandfold: a file claiming more
    // rows than that is damaged, and is not worth the buffer it would need.
    const qint64 filteredBytes = rowBytes + 1;
    const qint64 total = filteredBytes * layout.height;
    qint64 compressed = 0;
    for (const QByteArrayView chunk : layout.imageData)
        compressed += chunk.size();
    if (total / 1100 > compressed)
        return false;

    // The whole stream is inflated at once, which is much quicker than a row at a time.
    QByteArray joined;
    QByteArrayView stream = layout.imageData.front();
    if (layout.imageData.size() > 1) {
        joined.reserve(compressed);
        for (const QByteArrayView chunk : layout.imageData)
            joined.append(chunk);
        stream = joined;
    }
    const std::unique_ptr<uchar[]> filtered(new (std::nothrow) uchar[size_t(total + kPad)]);
    const std::unique_ptr<libdeflate_decompressor, FreeDecompressor> inflater(libdeflate_alloc_decompressor());
    if (!filtered || !inflater)
        return false;
    std::memset(filtered.get() + total, 0, kPad);
    size_t consumed = 0;
    // Exactly the rows, with no data left over. libdeflate lets pass a few malformed
    // streams zlib refuses (a distance code that cannot occur, in a block whose output is
    // still right, as the Adler-32 check shows); such a file reads as whole, where the
    // thorough way would call it damaged.
    const libdeflate_result status = libdeflate_zlib_decompress_ex(inflater.get(), stream.data(), size_t(stream.size()),
                                                                   filtered.get(), size_t(total), &consumed, nullptr);
    if (status != LIBDEFLATE_SUCCESS || consumed != size_t(stream.size()))
        return false;

    for (quint32 y = 0; y < layout.height; ++y) {
        const uchar *source = filtered.get() + filteredBytes * y;
        if (!unfilter(source[0], source + 1, row, above, rowBytes, bpp))
            return false;
        store(row, image.scanLine(int(y)), layout.width, layout.colourType);
        std::swap(row, above);
    }
    return true;
}

} // namespace pelorin::png
