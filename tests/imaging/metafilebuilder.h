#pragma once
// Small WMF and EMF files made in code, record by record, for tests whose drawing
// can be stated exactly.

#include <QByteArray>
#include <QRect>
#include <QtEndian>

#include <cstring>

#include <initializer_list>

namespace pelorin::test {

inline void putU16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

inline void putU32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

inline void putF32(QByteArray &out, float v)
{
    quint32 bits;
    std::memcpy(&bits, &v, 4);
    putU32(out, bits);
}

inline quint32 rgb(int r, int g, int b) { return quint32(r) | (quint32(g) << 8) | (quint32(b) << 16); }

class WmfBuilder
{
public:
    // A record with 16-bit parameters in file order.
    WmfBuilder &record(quint16 function, std::initializer_list<int> params)
    {
        putU32(mBody, quint32(3 + params.size()));
        putU16(mBody, function);
        for (int p : params)
            putU16(mBody, quint16(p));
        return *this;
    }
    // A record with raw parameter bytes (padded to whole words).
    WmfBuilder &raw(quint16 function, QByteArray params)
    {
        if (params.size() % 2)
            params.append('\0');
        putU32(mBody, quint32(3 + params.size() / 2));
        putU16(mBody, function);
        mBody.append(params);
        return *this;
    }
    static int lo(quint32 v) { return int(v & 0xFFFF); }
    static int hi(quint32 v) { return int(v >> 16); }

    QByteArray finish(int objects = 8) const
    {
        QByteArray out;
        putU16(out, 1);
        putU16(out, 9);
        putU16(out, 0x0300);
        putU32(out, quint32((18 + mBody.size() + 6) / 2));
        putU16(out, quint16(objects));
        putU32(out, 0);
        putU16(out, 0);
        out.append(mBody);
        putU32(out, 3);
        putU16(out, 0);
        return out;
    }
    QByteArray finishPlaceable(QRect bounds, int unitsPerInch, int objects = 8) const
    {
        QByteArray out;
        putU32(out, 0x9AC6CDD7);
        putU16(out, 0);
        putU16(out, quint16(bounds.left()));
        putU16(out, quint16(bounds.top()));
        putU16(out, quint16(bounds.right() + 1));
        putU16(out, quint16(bounds.bottom() + 1));
        putU16(out, quint16(unitsPerInch));
        putU32(out, 0);
        quint16 sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= qFromLittleEndian<quint16>(out.constData() + 2 * i);
        putU16(out, sum);
        return out + finish(objects);
    }

private:
    QByteArray mBody;
};

class EmfBuilder
{
public:
    EmfBuilder &record(quint32 type, const QByteArray &payload)
    {
        putU32(mBody, type);
        putU32(mBody, quint32(8 + payload.size()));
        mBody.append(payload);
        ++mRecords;
        return *this;
    }
    EmfBuilder &ints(quint32 type, std::initializer_list<qint32> values)
    {
        QByteArray payload;
        for (qint32 v : values)
            putU32(payload, quint32(v));
        return record(type, payload);
    }

    // frame in hundredths of a millimetre; the reference device has 1 pixel per 0.1 mm.
    QByteArray finish(QRect frame01mm) const
    {
        QByteArray header;
        putU32(header, 1);
        putU32(header, 88);
        for (int v : {0, 0, frame01mm.width() / 10, frame01mm.height() / 10})
            putU32(header, quint32(v));
        for (int v : {frame01mm.left(), frame01mm.top(), frame01mm.left() + frame01mm.width(),
                      frame01mm.top() + frame01mm.height()})
            putU32(header, quint32(v));
        putU32(header, 0x464D4520);
        putU32(header, 0x10000);
        putU32(header, quint32(88 + mBody.size() + 20));
        putU32(header, quint32(mRecords + 2));
        putU16(header, 16);
        putU16(header, 0);
        putU32(header, 0);
        putU32(header, 0);
        putU32(header, 0);
        putU32(header, 10000); // device: 10000 x 10000 pixels
        putU32(header, 10000);
        putU32(header, 1000); // over 1000 x 1000 mm
        putU32(header, 1000);
        QByteArray out = header + mBody;
        putU32(out, 14); // EOF
        putU32(out, 20);
        putU32(out, 0);
        putU32(out, 0);
        putU32(out, 20);
        return out;
    }

private:
    QByteArray mBody;
    int mRecords = 0;
};

} // namespace pelorin::test
