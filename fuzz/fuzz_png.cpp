// libFuzzer target: our PNG reader (libpng underneath, our own row decoder for plain
// files, our buffer and palette handling). Each input is read as it is and once more
// with every chunk's checksum made right, so mutations reach the decoders behind the
// checksum test instead of stopping there.
#include "imaging/pngdecoder.h"

#include <QByteArray>

#include <zlib.h>

#include <cstddef>
#include <cstdint>

namespace {

QByteArray withChecksumsFixed(QByteArray file)
{
    auto *bytes = reinterpret_cast<uchar *>(file.data());
    qsizetype at = 8;
    while (at + 12 <= file.size()) {
        const quint32 length = quint32(bytes[at]) << 24 | quint32(bytes[at + 1]) << 16 | quint32(bytes[at + 2]) << 8 |
                               quint32(bytes[at + 3]);
        if (qint64(length) > file.size() - at - 12)
            break;
        const uLong crc = crc32(0, bytes + at + 4, uInt(length) + 4);
        uchar *stored = bytes + at + 8 + length;
        for (int i = 0; i < 4; ++i)
            stored[i] = uchar(crc >> (24 - 8 * i));
        at += 12 + qsizetype(length);
    }
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    pelorin::png::readPng(input);
    if (input.size() > 8)
        pelorin::png::readPng(withChecksumsFixed(input.toByteArray()));
    return 0;
}
