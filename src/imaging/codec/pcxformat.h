#pragma once
// Layout of the PCX file header, shared by the reader and the writer.

#include <cstddef>

namespace pelorin::codec::pcx {

constexpr std::size_t kHeaderSize = 128;
constexpr unsigned char kManufacturer = 0x0A;
constexpr unsigned char kVersion30 = 5; // the version with the 256-colour palette trailer
constexpr unsigned char kEncodingRle = 1;
constexpr unsigned char kPaletteMarker = 0x0C;
constexpr std::size_t kPaletteTrailerSize = 1 + 256 * 3;

// Byte offsets of the header fields (16-bit fields are little-endian).
enum Offset : std::size_t {
    kOffManufacturer = 0,
    kOffVersion = 1,
    kOffEncoding = 2,
    kOffBitsPerPixel = 3,
    kOffXMin = 4,
    kOffYMin = 6,
    kOffXMax = 8,
    kOffYMax = 10,
    kOffHorizontalDpi = 12,
    kOffVerticalDpi = 14,
    kOffPalette = 16, // 16 RGB triples
    kOffPlanes = 65,
    kOffBytesPerLine = 66,
    kOffPaletteInfo = 68,
};

// An RLE byte with the two top bits set starts a run; its low six bits are the count.
constexpr unsigned char kRunFlag = 0xC0;
constexpr unsigned char kMaxRun = 0x3F;

} // namespace pelorin::codec::pcx
