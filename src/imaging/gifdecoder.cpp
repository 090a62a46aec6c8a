#include "imaging/gifdecoder.h"

#include "imaging/bmpdecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace pelorin::gif {

namespace {

struct Source
{
    QByteArrayView data;
    qsizetype at = 0;
};

int readBytes(GifFileType *file, GifByteType *buffer, int length)
{
    auto *source = static_cast<Source *>(file->UserData);
    const qsizetype count = std::clamp<qsizetype>(source->data.size() - source->at, 0, length);
    std::memcpy(buffer, source->data.data() + source->at, size_t(count));
    source->at += count;
    return int(count);
}

struct CloseGif
{
    void operator()(GifFileType *file) const
    {
        int error = 0;
        DGifCloseFile(file, &error);
    }
};

} // namespace

Result readGif(QByteArrayView data)
{
    Source source{data};
    int error = 0;
    const std::unique_ptr<GifFileType, CloseGif> file(DGifOpen(&source, readBytes, &error));
    if (!file)
        return {{}, Status::NotGif};

    int transparent = -1;
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(file.get(), &record) != GIF_OK)
            return {{}, Status::Truncated};
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType *block = nullptr;
            if (DGifGetExtension(file.get(), &code, &block) != GIF_OK)
                return {{}, Status::Truncated};
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                transparent = (block[1] & 1) ? block[4] : -1;
            while (block) {
                if (DGifGetExtensionNext(file.get(), &block) != GIF_OK)
                    return {{}, Status::Truncated};
            }
        }
    } while (record != IMAGE_DESC_RECORD_TYPE && record != TERMINATE_RECORD_TYPE);
    if (record != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(file.get()) != GIF_OK)
        return {{}, Status::NoImage};

    const GifImageDesc &frame = file->Image;
    const int screenWidth = file->SWidth > 0 ? file->SWidth : frame.Left + frame.Width;
    const int screenHeight = file->SHeight > 0 ? file->SHeight : frame.Top + frame.Height;
    if (frame.Width <= 0 || frame.Height <= 0 || screenWidth <= 0 || screenHeight <= 0)
        return {{}, Status::NoImage};
    if (qint64(screenWidth) * screenHeight > bmp::kMaxPixels || qint64(frame.Width) * frame.Height > bmp::kMaxPixels)
        return {{}, Status::TooLarge};

    // The palette: the image's own, else the file's, else black and white; unused
    // entries black, the transparent index clear.
    const ColorMapObject *map = frame.ColorMap ? frame.ColorMap : file->SColorMap;
    QList<QRgb> table;
    if (map) {
        for (int i = 0; i < std::min(map->ColorCount, 256); ++i)
            table.append(qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue));
    } else {
        table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    }
    const int used = int(table.size());
    while (table.size() < 256)
        table.append(qRgb(0, 0, 0));
    if (transparent >= 0)
        table[transparent] = qRgba(0, 0, 0, 0);

    const bool covers = frame.Left <= 0 && frame.Top <= 0 && frame.Left + frame.Width >= screenWidth &&
                        frame.Top + frame.Height >= screenHeight;
    int clear = transparent;
    if (!covers && clear < 0 && used < 256) {
        clear = used;
        table[clear] = qRgba(0, 0, 0, 0);
    }
    QImage image(screenWidth, screenHeight, QImage::Format_Indexed8);
    if (image.isNull())
        return {{}, Status::TooLarge};
    image.setColorTable(table);
    image.fill(clear >= 0 ? uint(clear) : 0u);

    QByteArray line(frame.Width, '\0');
    static const int passStart[] = {0, 4, 2, 1};
    static const int passStep[] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    Status status = Status::Ok;
    for (int pass = 0; pass < passes && status == Status::Ok; ++pass) {
        const int first = frame.Interlace ? passStart[pass] : 0;
        const int step = frame.Interlace ? passStep[pass] : 1;
        for (int y = first; y < frame.Height; y += step) {
            if (DGifGetLine(file.get(), reinterpret_cast<GifPixelType *>(line.data()), frame.Width) != GIF_OK) {
                status = Status::Truncated;
                break;
            }
            const int row = frame.Top + y;
            if (row < 0 || row >= screenHeight)
                continue;
            const int from = std::max(0, -frame.Left);
            const int to = std::min(frame.Width, screenWidth - frame.Left);
            if (to > from)
                std::memcpy(image.scanLine(row) + frame.Left + from, line.constData() + from, size_t(to - from));
        }
    }
    if (!covers && clear < 0) {
        // A full palette and no transparent index: uncovered areas become clear pixels.
        QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        const QRect inside = QRect(frame.Left, frame.Top, frame.Width, frame.Height);
        for (int y = 0; y < screenHeight; ++y)
            for (int x = 0; x < screenWidth; ++x)
                if (!inside.contains(x, y))
                    argb.setPixel(x, y, qRgba(0, 0, 0, 0));
        return {argb, status};
    }
    return {image, status};
}

QString statusText(Status status)
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::NotGif:
        return QStringLiteral("not a GIF file");
    case Status::NoImage:
        return QStringLiteral("no image in the file");
    case Status::TooLarge:
        return QStringLiteral("image too large");
    case Status::Truncated:
        return QStringLiteral("file truncated");
    }
    return {};
}

} // namespace pelorin::gif
