#pragma once
// Our decoder for Windows and OS/2 bitmaps: BMP files, headerless DIBs and the bitmaps
// inside icons. Every count and offset in the data is checked before use; a damaged file
// gives whatever rows were decodable and a status saying what was wrong.

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace pelorin::bmp {

enum class Status {
    Ok,
    NotBmp,                 // neither a file header nor a known info header
    BadHeader,              // impossible sizes, planes or header fields
    UnsupportedDepth,       // bits per pixel we cannot decode
    UnsupportedCompression, // compression we cannot decode (OS/2 Huffman, ...)
    TooLarge,               // more pixels than a picture may hold
    Truncated,              // the pixel data ends early; the image holds what was there
    Damaged                 // compressed data runs past the image or breaks off
};

struct Result
{
    QImage image;
    Status status = Status::Ok;
};

// A BMP file ("BM", or the first bitmap of an OS/2 "BA" array) or a headerless DIB.
Result readFile(QByteArrayView data);

// The DIB of an icon entry: its height counts the colour bitmap and the AND mask that
// follows it; the mask (or a 32-bit image's alpha) gives the transparency.
Result readIconDib(QByteArrayView dib);

// Clear text for a failure status.
QString statusText(Status status);

// The largest picture we decode, in pixels.
inline constexpr qint64 kMaxPixels = qint64(1) << 26;

} // namespace pelorin::bmp
