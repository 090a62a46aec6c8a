#pragma once
// Our JPEG reader over libjpeg-turbo: colour files (YCbCr, RGB, CMYK and YCCK) as 32-bit
// colour, one-component files as 8-bit grey, the Exif orientation applied. A scale hint
// lets libjpeg decode at 1/2, 1/4 or 1/8 size; at 1/8 a progressive file is decoded from
// the scans that size needs.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

namespace pelorin::jpeg {

enum class Status { Ok, NotJpeg, TooLarge, Damaged };

struct Result
{
    QImage image; // null unless status is Ok
    Status status = Status::Ok;
    // The picture's full size after orientation, once the header has been read.
    QSize originalSize;
};

struct Options
{
    // When valid, decode at the largest of 1/2, 1/4 and 1/8 that is not below the hint
    // on either axis (the hint is in upright orientation).
    QSize scaleHint;
    // Whether a progressive file decoded at 1/8 may skip the scans that size does not
    // use. Off only to compare against decoding the whole file.
    bool skipUnusedScans = true;
};

Result readJpeg(QByteArrayView data, const Options &options = {});
QString statusText(Status status);

// The largest of libjpeg's 1/2, 1/4 and 1/8 decodes of full that stays at or above hint;
// invalid when none does.
QSize scaledSize(QSize full, QSize hint);

// The orientation (1 to 8) held in IFD0 of an APP1 Exif payload ("Exif\0\0" and the
// TIFF structure); 0 when there is none or the payload is malformed.
int exifOrientation(QByteArrayView app1);

// A progressive Huffman stream reduced to what its 1/8 decode reads: every segment but
// the AC scans of components not in acComponents (by component id; the components that
// libjpeg decodes at one pixel per block are left out of it). Empty when the stream is
// anything but a complete, well-formed progressive file, so that the caller decodes the
// whole file.
QByteArray scansForEighth(QByteArrayView data, const QList<int> &acComponents);

} // namespace pelorin::jpeg
