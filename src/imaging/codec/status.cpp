// The texts of the codec library's status codes.
#include "imaging/codec/codec.h"

namespace pelorin::codec {

QString statusText(int status)
{
    if (status > 0)
        return QStringLiteral("no error");
    switch (status) {
    case kUnknownError: return QStringLiteral("unknown error");
    case kFileNotFound: return QStringLiteral("file not found");
    case kCannotRead: return QStringLiteral("cannot read file");
    case kNotPcx: return QStringLiteral("not a PCX file");
    case kBadHeader: return QStringLiteral("invalid PCX header");
    case kUnsupportedDepth: return QStringLiteral("unsupported bit depth");
    case kImageTooLarge: return QStringLiteral("image too large");
    case kTruncated: return QStringLiteral("file truncated");
    case kNoImage: return QStringLiteral("no image to write");
    case kCannotCreate: return QStringLiteral("cannot create file");
    case kDiskFull: return QStringLiteral("disk full");
    case kWriteError: return QStringLiteral("write error");
    case kEncoderError: return QStringLiteral("encoder error");
    case kUnsupportedCompression: return QStringLiteral("unsupported compression");
    case kOutOfMemory: return QStringLiteral("out of memory");
    }
    return QStringLiteral("unknown error (code %1)").arg(status);
}

} // namespace pelorin::codec
