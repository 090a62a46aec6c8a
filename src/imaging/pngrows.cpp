#include "imaging/pngrows.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
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
        const quint32 length = bigEndian32(bytes + at);
        if (length > kLargestChunk || qint64(length) > data.size() - at - 12)
            return false;
        const uchar *type = bytes + at + 4;
        const uchar *body = type + 4;
        if (crc32(0, type, uInt(length) + 4) != bigEndian32(body + length))
            return false;
        if (isType(type, "IDAT")) {
            inImageData = true;
            layout.imageData.emplace_back(reinterpret_cast<const char *>(body), qsizetype(length));
        } else if (inImageData) {
            break;
        } else if (isType(type, "IHDR")) {
            if (at != 8 || length != 13)
                return false;
            layout.width = bigEndian32(body);
            layout.height = bigEndian32(body + 4);
            layout.colourType = body[9];
            const bool plain = body[8] == 8 && body[10] == 0 && body[11] == 0 && body[12] == 0;
            if (!plain || layout.colourType == 3)
                return false;
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
template<int bpp>
void paethWide(const uchar *source, uchar *row, const uchar *above, qsizetype count)
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
        const __m128i predicted =
            choose(_mm_cmpeq_epi16(nearest, leftDistance), left,
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

struct Inflater
{
    z_stream stream{};
    bool ready = false;
    Inflater() { ready = inflateInit(&stream) == Z_OK; }
    ~Inflater()
    {
        if (ready)
            inflateEnd(&stream);
    }
    Inflater(const Inflater &) = delete;
    Inflater &operator=(const Inflater &) = delete;
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

    Inflater inflater;
    if (!inflater.ready)
        return false;
    z_stream &z = inflater.stream;
    size_t chunk = 0;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(layout.imageData[0].data()));
    z.avail_in = uInt(layout.imageData[0].size());
    // Inflates until `out` is full or the stream ends; false on any zlib complaint.
    bool ended = false;
    auto inflateInto = [&](uchar *out, qsizetype size) {
        z.next_out = out;
        z.avail_out = uInt(size);
        while (z.avail_out > 0 && !ended) {
            if (z.avail_in == 0) {
                if (++chunk >= layout.imageData.size())
                    return false;
                z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(layout.imageData[chunk].data()));
                z.avail_in = uInt(layout.imageData[chunk].size());
                continue;
            }
            const int status = inflate(&z, Z_NO_FLUSH);
            if (status == Z_STREAM_END)
                ended = true;
            else if (status != Z_OK)
                return false;
        }
        return z.avail_out == 0;
    };

    // Several rows are inflated at a time: zlib keeps a copy of the last 32 KiB it wrote
    // after every call, which costs little against a large call.
    const qsizetype filteredBytes = rowBytes + 1;
    const quint32 blockRows = quint32(std::clamp<qsizetype>((qsizetype(1) << 19) / filteredBytes, 1, layout.height));
    std::vector<uchar> block(size_t(filteredBytes * blockRows + kPad));
    for (quint32 y = 0; y < layout.height; y += blockRows) {
        const quint32 rows = std::min(blockRows, layout.height - y);
        if (!inflateInto(block.data(), filteredBytes * rows))
            return false;
        for (quint32 r = 0; r < rows; ++r) {
            const uchar *filtered = block.data() + filteredBytes * r;
            if (!unfilter(filtered[0], filtered + 1, row, above, rowBytes, bpp))
                return false;
            store(row, image.scanLine(int(y + r)), layout.width, layout.colourType);
            std::swap(row, above);
        }
    }
    // The stream must end right after the last row, with no image data left over.
    uchar spare = 0;
    if (!ended && (inflateInto(&spare, 1) || !ended))
        return false;
    return z.avail_in == 0 && chunk + 1 == layout.imageData.size();
}

} // namespace pelorin::png
