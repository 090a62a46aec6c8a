#include "imaging/icondecoder.h"

#include "imaging/bmpdecoder.h"

#include <QList>

#include <algorithm>

namespace pelorin::ico {

namespace {

struct Entry
{
    int width;
    int height;
    int bitCount;
    qint64 offset;
    qint64 bytes;
    int index;
};

quint16 u16(QByteArrayView d, qsizetype at)
{
    return quint16(quint8(d[at]) | quint8(d[at + 1]) << 8);
}

quint32 u32(QByteArrayView d, qsizetype at)
{
    return quint32(u16(d, at)) | quint32(u16(d, at + 2)) << 16;
}

QImage decodeEntry(QByteArrayView data, const Entry &entry)
{
    if (entry.offset <= 0 || entry.offset >= data.size())
        return {};
    const qint64 bytes = std::min(entry.bytes, data.size() - entry.offset);
    const QByteArrayView payload = data.sliced(entry.offset, bytes);
    static const char pngSignature[] = "\x89PNG\r\n\x1a\n";
    if (payload.size() >= 8 && std::equal(payload.begin(), payload.begin() + 8, pngSignature))
        return QImage::fromData(payload, "PNG");
    return bmp::readIconDib(payload).image;
}

} // namespace

QImage readIcon(QByteArrayView data, QSize preferred)
{
    if (data.size() < 6 || u16(data, 0) != 0)
        return {};
    const int type = u16(data, 2);
    const int count = u16(data, 4);
    if ((type != 1 && type != 2) || count == 0)
        return {};
    QList<Entry> entries;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = 6 + qsizetype(16) * i;
        if (at + 16 > data.size())
            break;
        const int w = quint8(data[at]) ? quint8(data[at]) : 256;
        const int h = quint8(data[at + 1]) ? quint8(data[at + 1]) : 256;
        entries.append({w, h, type == 1 ? u16(data, at + 6) : 0, qint64(u32(data, at + 12)), qint64(u32(data, at + 8)), i});
    }
    auto distance = [&](const Entry &e) {
        return std::abs(e.width - preferred.width()) + std::abs(e.height - preferred.height());
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
        if (distance(a) != distance(b))
            return distance(a) < distance(b);
        return a.bitCount > b.bitCount;
    });
    // A few of the nearest entries are tried; a directory of thousands of broken entries
    // must not keep the reader busy.
    constexpr qsizetype kAttempts = 4;
    for (qsizetype i = 0; i < std::min(entries.size(), kAttempts); ++i) {
        QImage image = decodeEntry(data, entries.at(i));
        if (!image.isNull())
            return image;
    }
    return {};
}

} // namespace pelorin::ico
