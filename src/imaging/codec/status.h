#pragma once
// Status codes of the codec library. Success is greater than 0; every failure is 0 or
// below and has its own text (statusText in codec.h).

namespace pelorin::codec {

enum Status : int {
    kOk = 1,
    kUnknownError = 0,
    kFileNotFound = -1,
    kCannotRead = -2,
    kNotPcx = -3,
    kBadHeader = -4,
    kUnsupportedDepth = -5,
    kImageTooLarge = -6,
    kTruncated = -7,
    kNoImage = -8,
    kCannotCreate = -9,
    kDiskFull = -10,
    kWriteError = -11,
    kEncoderError = -12,
    kUnsupportedCompression = -13,
    kOutOfMemory = -14,
};

} // namespace pelorin::codec
