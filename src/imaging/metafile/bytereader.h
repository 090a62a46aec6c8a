#pragma once
// Little-endian reads from a span of bytes, each checked against the span. A read that
// does not fit throws RecordOutOfBounds, which the players catch to skip the record.

#include <QByteArrayView>
#include <QtEndian>

#include <cstring>

namespace pelorin::metafile {

struct RecordOutOfBounds
{
};

class ByteReader
{
public:
    ByteReader() = default;
    explicit ByteReader(QByteArrayView bytes) : mBytes(bytes) {}

    qsizetype size() const { return mBytes.size(); }
    bool fits(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= mBytes.size() && length <= mBytes.size() - offset;
    }
    void require(qint64 offset, qint64 length) const
    {
        if (!fits(offset, length))
            throw RecordOutOfBounds{};
    }
    // The bytes [offset, offset + length), checked.
    QByteArrayView slice(qint64 offset, qint64 length) const
    {
        require(offset, length);
        return mBytes.sliced(offset, length);
    }

    quint8 u8(qint64 offset) const { return quint8(slice(offset, 1)[0]); }
    quint16 u16(qint64 offset) const { return qFromLittleEndian<quint16>(slice(offset, 2).data()); }
    qint16 i16(qint64 offset) const { return qFromLittleEndian<qint16>(slice(offset, 2).data()); }
    quint32 u32(qint64 offset) const { return qFromLittleEndian<quint32>(slice(offset, 4).data()); }
    qint32 i32(qint64 offset) const { return qFromLittleEndian<qint32>(slice(offset, 4).data()); }
    float f32(qint64 offset) const
    {
        const quint32 bits = u32(offset);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    QByteArrayView mBytes;
};

} // namespace pelorin::metafile
