#include "imaging/jpegdecoder.h"

#include "imaging/orientation.h"

#include <QColorSpace>
#include <QImageReader>
#include <QtMath>

#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace pelorin::jpeg {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps
// back to the setjmp of the step that was running. Warnings (corrupt data, a premature
// end) only count; libjpeg goes on with what it has.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void failWithJump(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

// Owns one libjpeg decompressor. Its steps below each run under their own setjmp, with
// nothing in their frames that a jump could leave undestroyed.
struct Decompressor
{
    jpeg_decompress_struct cinfo;
    ErrorManager error;
    Decompressor()
    {
        std::memset(&cinfo, 0, sizeof cinfo);
        std::memset(&error, 0, sizeof error);
        cinfo.err = jpeg_std_error(&error.base);
        error.base.error_exit = failWithJump;
        error.base.output_message = ignoreMessage;
    }
    ~Decompressor() { jpeg_destroy_decompress(&cinfo); } // harmless before creation
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;
};

bool readHeader(Decompressor &d, QByteArrayView data)
{
    if (setjmp(d.error.jump))
        return false;
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, reinterpret_cast<const unsigned char *>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_save_markers(&d.cinfo, JPEG_APP0 + 1, 0xFFFF); // Exif
    jpeg_save_markers(&d.cinfo, JPEG_APP0 + 2, 0xFFFF); // ICC profile
    jpeg_read_header(&d.cinfo, TRUE);
    return true;
}

bool setOutput(Decompressor &d, int scaleNum, J_COLOR_SPACE space, bool smoothing)
{
    if (setjmp(d.error.jump))
        return false;
    d.cinfo.scale_num = static_cast<unsigned int>(scaleNum);
    d.cinfo.scale_denom = 8;
    d.cinfo.out_color_space = space;
    d.cinfo.do_block_smoothing = smoothing ? TRUE : FALSE;
    jpeg_calc_output_dimensions(&d.cinfo);
    return true;
}

// Decodes every row into rows[0 .. output_height); true when all were produced.
bool decodeRows(Decompressor &d, JSAMPROW *rows, JDIMENSION width, JDIMENSION height)
{
    if (setjmp(d.error.jump))
        return false;
    jpeg_start_decompress(&d.cinfo);
    if (d.cinfo.output_width != width || d.cinfo.output_height != height)
        return false;
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        const JDIMENSION at = d.cinfo.output_scanline;
        if (jpeg_read_scanlines(&d.cinfo, rows + at, d.cinfo.output_height - at) == 0)
            return false;
    }
    // Reads on to the end of the image, where a broken trailer still fails the file.
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

int orientationOf(jpeg_saved_marker_ptr marker)
{
    for (; marker; marker = marker->next) {
        const QByteArrayView payload(reinterpret_cast<const char *>(marker->data), qsizetype(marker->data_length));
        if (marker->marker == JPEG_APP0 + 1 && payload.startsWith(QByteArrayView("Exif\0\0", 6)))
            return exifOrientation(payload);
    }
    return 0;
}

// The ICC profile, which a file may split over several APP2 segments in their order.
QByteArray iccProfileOf(jpeg_saved_marker_ptr marker)
{
    static constexpr QByteArrayView tag("ICC_PROFILE\0", 12);
    constexpr qsizetype header = 14; // the tag, then the chunk's number and the count
    QByteArray profile;
    for (; marker; marker = marker->next) {
        const QByteArrayView payload(reinterpret_cast<const char *>(marker->data), qsizetype(marker->data_length));
        if (marker->marker == JPEG_APP0 + 2 && payload.size() > 128 + 4 + header && payload.startsWith(tag))
            profile.append(payload.sliced(header));
    }
    return profile;
}

// Adobe CMYK and YCCK files store their ink inverted: the value is how much of each
// colour shows. The picture is that colour times the share the black lets through.
void cmykToRgb(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *pixel = reinterpret_cast<QRgb *>(image.scanLine(y));
        const uchar *ink = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, ink += 4) {
            const int k = ink[3];
            pixel[x] = qRgb(k * ink[0] / 255, k * ink[1] / 255, k * ink[2] / 255);
        }
    }
}

// Components whose 1/8 decode libjpeg widens from a 2 x 2 or larger inverse DCT (the
// subsampled chroma of most files): their AC coefficients show at 1/8 too.
QList<int> componentsUsingAc(const jpeg_decompress_struct &info)
{
    QList<int> ids;
    for (int i = 0; i < info.num_components; ++i) {
        if (info.comp_info[i].DCT_scaled_size > 1)
            ids.append(info.comp_info[i].component_id);
    }
    return ids;
}

} // namespace

QSize scaledSize(QSize full, QSize hint)
{
    for (int denom : {8, 4, 2}) {
        const QSize scaled(full.width() / denom, full.height() / denom);
        if (scaled.width() >= hint.width() && scaled.height() >= hint.height() && !scaled.isEmpty())
            return scaled;
    }
    return {};
}

int exifOrientation(QByteArrayView app1)
{
    if (app1.size() < 6 + 8 || !app1.startsWith(QByteArrayView("Exif\0\0", 6)))
        return 0;
    const QByteArrayView tiff = app1.sliced(6);
    const auto *bytes = reinterpret_cast<const uchar *>(tiff.data());
    bool little = false;
    if (bytes[0] == 'I' && bytes[1] == 'I')
        little = true;
    else if (!(bytes[0] == 'M' && bytes[1] == 'M'))
        return 0;
    // Callers check that [at, at + 2) or [at, at + 4) lies inside tiff.
    const auto u16 = [&](qint64 at) {
        const uchar *p = bytes + at;
        return little ? quint32(p[0] | p[1] << 8) : quint32(p[0] << 8 | p[1]);
    };
    const auto u32 = [&](qint64 at) {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    if (u16(2) != 42)
        return 0;
    const qint64 ifd = u32(4);
    if (ifd < 8 || ifd + 2 > tiff.size())
        return 0;
    const quint32 count = u16(ifd);
    for (quint32 i = 0; i < count; ++i) {
        const qint64 entry = ifd + 2 + 12 * qint64(i);
        if (entry + 12 > tiff.size())
            return 0;
        if (u16(entry) != 0x0112)
            continue;
        // One SHORT, held in the first half of the value field.
        if (u16(entry + 2) != 3 || u32(entry + 4) != 1)
            return 0;
        const quint32 value = u16(entry + 8);
        return value >= 1 && value <= 8 ? int(value) : 0;
    }
    return 0;
}

QByteArray scansForEighth(QByteArrayView data, const QList<int> &acComponents)
{
    const auto *p = reinterpret_cast<const uchar *>(data.data());
    const qsizetype size = data.size();
    if (size < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return {};

    struct Component
    {
        int id = -1;
        bool keepAc = false;
        bool seen = false;
        std::array<int, 64> bits; // the Al of the last scan that sent each coefficient
    };
    std::array<Component, 4> components;
    int componentCount = 0;
    bool frame = false;
    // Whether each AC Huffman table is defined and usable; libjpeg supplies the standard
    // tables 0 and 1 when a file defines none.
    std::array<bool, 4> acTable{true, true, false, false};

    QByteArray out;
    out.reserve(size / 4);
    out.append(data.first(2));
    qsizetype at = 2;
    for (;;) {
        if (at + 2 > size || p[at] != 0xFF)
            return {};
        while (at + 2 < size && p[at + 1] == 0xFF)
            ++at; // fill bytes before a marker
        const uchar marker = p[at + 1];
        if (marker == 0xD9) { // end of image: every coefficient must have been sent in full
            if (!frame)
                return {};
            for (int c = 0; c < componentCount; ++c) {
                for (int bits : components[c].bits) {
                    if (bits != 0)
                        return {};
                }
            }
            out.append("\xFF\xD9", 2);
            return out;
        }
        // No other standalone marker belongs between segments; DNL is not expected either.
        if (marker == 0x00 || marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0xDC)
            return {};
        if (at + 4 > size)
            return {};
        const int length = p[at + 2] << 8 | p[at + 3];
        const qsizetype end = at + 2 + length;
        if (length < 2 || end > size)
            return {};
        const uchar *segment = p + at + 4;
        const int segmentLength = length - 2;

        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            // Only one progressive Huffman frame of 8-bit samples is handled here.
            if (marker != 0xC2 || frame || segmentLength < 6 || segment[0] != 8)
                return {};
            componentCount = segment[5];
            if (componentCount < 1 || componentCount > 4 || segmentLength != 6 + 3 * componentCount)
                return {};
            for (int c = 0; c < componentCount; ++c) {
                Component &component = components[c];
                component.id = segment[6 + 3 * c];
                for (int other = 0; other < c; ++other) {
                    if (components[other].id == component.id)
                        return {};
                }
                component.keepAc = acComponents.contains(component.id);
                component.bits.fill(-1);
            }
            frame = true;
            out.append(data.sliced(at, end - at));
        } else if (marker == 0xC4) { // Huffman tables: note which AC tables are usable
            int offset = 0;
            while (offset < segmentLength) {
                if (offset + 17 > segmentLength)
                    return {};
                const int classAndId = segment[offset];
                // libjpeg refuses a table, when a scan first uses it, whose codes of some
                // length overflow that many bits.
                int codes = 0;
                qint64 code = 0;
                bool fits = true;
                for (int bits = 1; bits <= 16; ++bits) {
                    codes += segment[offset + bits];
                    code += segment[offset + bits];
                    fits = fits && code < (qint64(1) << bits);
                    code <<= 1;
                }
                offset += 17 + codes;
                if ((classAndId >> 4) > 1 || (classAndId & 15) > 3 || offset > segmentLength)
                    return {};
                if (classAndId >> 4)
                    acTable[classAndId & 15] = fits;
            }
            out.append(data.sliced(at, end - at));
        } else if (marker == 0xDA) { // start of scan
            if (!frame || segmentLength < 1)
                return {};
            const int count = segment[0];
            if (count < 1 || count > 4 || segmentLength != 4 + 2 * count)
                return {};
            const int ss = segment[1 + 2 * count];
            const int se = segment[2 + 2 * count];
            const int ah = segment[3 + 2 * count] >> 4;
            const int al = segment[3 + 2 * count] & 15;
            // The progression rules libjpeg enforces, so that no scan left out here would
            // have failed the whole file.
            if (ss == 0 ? se != 0 : (se < ss || se > 63 || count != 1))
                return {};
            if ((ah != 0 && al != ah - 1) || al > 13)
                return {};
            bool keep = ss == 0;
            std::array<bool, 4> inScan{};
            for (int i = 0; i < count; ++i) {
                const int id = segment[1 + 2 * i];
                int c = 0;
                while (c < componentCount && components[c].id != id)
                    ++c;
                if (c == componentCount || inScan[c])
                    return {};
                inScan[c] = true;
                Component &component = components[c];
                // A component's first scan is its first DC scan, where libjpeg latches its
                // quantisation table: the reduced stream latches the same one.
                if (!component.seen && (ss != 0 || ah != 0))
                    return {};
                component.seen = true;
                const int acTableId = segment[2 + 2 * i] & 15;
                if (ss != 0 && (acTableId > 3 || !acTable[acTableId]))
                    return {};
                for (int k = ss; k <= se; ++k) {
                    if (component.bits[k] != (ah == 0 ? -1 : ah))
                        return {};
                    component.bits[k] = al;
                }
                keep = keep || component.keepAc;
            }
            // The entropy-coded data runs to the next marker other than a restart.
            qsizetype next = end;
            for (;;) {
                const uchar *hit = static_cast<const uchar *>(std::memchr(p + next, 0xFF, size_t(size - next)));
                if (!hit || hit + 1 >= p + size)
                    return {};
                next = hit - p;
                const uchar following = p[next + 1];
                if (following == 0x00 || (following >= 0xD0 && following <= 0xD7))
                    next += 2;
                else if (following == 0xFF)
                    next += 1;
                else
                    break;
            }
            if (keep)
                out.append(data.sliced(at, next - at));
            at = next;
            continue;
        } else {
            out.append(data.sliced(at, end - at));
        }
        at = end;
    }
}

Result readJpeg(QByteArrayView data, const Options &options)
{
    Result result;
    if (data.size() < 2 || uchar(data[0]) != 0xFF || uchar(data[1]) != 0xD8) {
        result.status = Status::NotJpeg;
        return result;
    }
    result.status = Status::Damaged;
    auto whole = std::make_unique<Decompressor>();
    if (!readHeader(*whole, data))
        return result;
    const jpeg_decompress_struct &info = whole->cinfo;
    const QSize stored(int(info.image_width), int(info.image_height));
    // The saved markers go when the decode ends.
    const int orientation = orientationOf(info.marker_list);
    const QByteArray iccProfile = iccProfileOf(info.marker_list);
    const bool turned = orientation >= 5;
    result.originalSize = turned ? stored.transposed() : stored;

    J_COLOR_SPACE space = JCS_GRAYSCALE;
    QImage::Format format = QImage::Format_RGB32;
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        format = QImage::Format_Grayscale8;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        // Straight into Format_RGB32's 0xAARRGGBB words, alpha set opaque.
        space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        space = JCS_CMYK;
        break;
    default:
        return result;
    }

    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limit > 0 && qint64(stored.width()) * stored.height() * 4 > limit) {
        result.status = Status::TooLarge;
        return result;
    }

    // libjpeg scales by scaleNum / 8 and rounds the size up; the picture is then resampled
    // to target, which rounds down, so that thumbnails stay as they were made before.
    int scaleNum = 8;
    QSize target;
    if (options.scaleHint.isValid()) {
        target = scaledSize(stored, turned ? options.scaleHint.transposed() : options.scaleHint);
        if (target.isValid()) {
            const double factor = qMin(double(stored.width()) / target.width(), double(stored.height()) / target.height());
            scaleNum = qBound(1, qCeil(8 / factor), 8);
        }
    }

    // At 1/8 a progressive file needs its DC scans and the AC scans of the components
    // decoded larger than one pixel a block; the rest of its data is skipped unread.
    Decompressor *decoder = whole.get();
    std::unique_ptr<Decompressor> reduced;
    QByteArray reducedData;
    if (scaleNum == 1 && info.progressive_mode && options.skipUnusedScans && setOutput(*whole, 1, space, true)) {
        reducedData = scansForEighth(data, componentsUsingAc(info));
        if (!reducedData.isEmpty()) {
            reduced = std::make_unique<Decompressor>();
            if (readHeader(*reduced, reducedData) && reduced->cinfo.image_width == info.image_width
                && reduced->cinfo.image_height == info.image_height
                && reduced->cinfo.num_components == info.num_components
                && reduced->cinfo.jpeg_color_space == info.jpeg_color_space && reduced->cinfo.progressive_mode)
                decoder = reduced.get();
        }
    }
    // Block smoothing guesses the AC coefficients a file has not sent; the whole file has
    // sent them all, so the reduced stream must not guess either.
    if (!setOutput(*decoder, scaleNum, space, decoder == whole.get()))
        return result;
    const JDIMENSION width = decoder->cinfo.output_width;
    const JDIMENSION height = decoder->cinfo.output_height;
    if (width == 0 || height == 0)
        return result;
    QImage image(int(width), int(height), format);
    if (image.isNull()) {
        result.status = Status::TooLarge;
        return result;
    }
    std::vector<JSAMPROW> rows(height);
    for (JDIMENSION y = 0; y < height; ++y)
        rows[y] = image.scanLine(int(y));
    if (!decodeRows(*decoder, rows.data(), width, height))
        return result;
    if (space == JCS_CMYK)
        cmykToRgb(image);

    if (target.isValid() && image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image = oriented(image, orientation);
    if (info.density_unit == 1) {
        image.setDotsPerMeterX(int(100. * info.X_density / 2.54));
        image.setDotsPerMeterY(int(100. * info.Y_density / 2.54));
    } else if (info.density_unit == 2) {
        image.setDotsPerMeterX(int(100. * info.X_density));
        image.setDotsPerMeterY(int(100. * info.Y_density));
    }
    // Also a profile Qt cannot use (CMYK ones) is kept, as an invalid colour space.
    if (!iccProfile.isEmpty())
        image.setColorSpace(QColorSpace::fromIccProfile(iccProfile));
    result.image = std::move(image);
    result.status = Status::Ok;
    return result;
}

QString statusText(Status status)
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::NotJpeg:
        return QStringLiteral("not a JPEG file");
    case Status::TooLarge:
        return QStringLiteral("image too large");
    case Status::Damaged:
        return QStringLiteral("file damaged or truncated");
    }
    return {};
}

} // namespace pelorin::jpeg
