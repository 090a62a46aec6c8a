// GIF through giflib: one image with a global colour map of 2, 16 or 256 entries (depth
// 1, 0 or 4, 8). A deeper request is written at 8 bits.
#include "imaging/codec/codec.h"
#include "imaging/codec/writersupport.h"

#include <gif_lib.h>

#include <new>

namespace pelorin::codec {

namespace {

int appendData(GifFileType *gif, const GifByteType *data, int length)
{
    try {
        static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(data), length);
        return length;
    } catch (...) {
        return 0;
    }
}

// Owns the colour map and the encoder for one write.
struct GifWrite
{
    ColorMapObject *map = nullptr;
    GifFileType *gif = nullptr;
    ~GifWrite()
    {
        if (gif)
            EGifCloseFile(gif, nullptr);
        GifFreeMapObject(map);
    }
};

int encode(const QImage &source, int depth, QByteArray &out)
{
    if (source.width() > 65535 || source.height() > 65535)
        return kImageTooLarge;
    const detail::IndexedImage indexed = detail::indexedImage(source, depth);
    const QImage &image = indexed.image;
    if (image.isNull())
        return kOutOfMemory;
    const QList<QRgb> palette = image.colorTable();
    QList<GifColorType> colours(1 << indexed.bits, GifColorType{0, 0, 0});
    for (int i = 0; i < palette.size(); ++i)
        colours[i] = GifColorType{GifByteType(qRed(palette[i])), GifByteType(qGreen(palette[i])),
                                  GifByteType(qBlue(palette[i]))};

    GifWrite w;
    w.map = GifMakeMapObject(int(colours.size()), colours.constData());
    int error = 0;
    w.gif = EGifOpen(&out, appendData, &error);
    if (!w.map || !w.gif)
        return kOutOfMemory;
    if (EGifPutScreenDesc(w.gif, image.width(), image.height(), indexed.bits, 0, w.map) == GIF_ERROR
        || EGifPutImageDesc(w.gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_ERROR)
        return kEncoderError;
    for (int y = 0; y < image.height(); ++y)
        if (EGifPutLine(w.gif, const_cast<GifPixelType *>(image.constScanLine(y)), image.width()) == GIF_ERROR)
            return kEncoderError;
    GifFileType *gif = w.gif;
    w.gif = nullptr;
    if (EGifCloseFile(gif, &error) == GIF_ERROR)
        return kEncoderError;
    return kOk;
}

} // namespace

int writeGif(const QImage &image, const QString &path, int depth)
{
    // The format holds at most 8 bits per pixel; deeper requests are written at 8.
    if (depth > 8)
        depth = 8;
    return detail::encodeAndWrite(image, path, depth, [&](QByteArray &bytes) { return encode(image, depth, bytes); });
}

} // namespace pelorin::codec
