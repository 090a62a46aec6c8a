// What the writers share: the depth rules, palette images and the atomic file write.
#include "imaging/codec/writersupport.h"
#include "imaging/codec/codec.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelorin::codec::detail {

bool isWriterDepth(int depth)
{
    return depth == 0 || depth == 1 || depth == 4 || depth == 8 || depth == 24;
}

IndexedImage indexedImage(const QImage &image, int depth)
{
    IndexedImage out;
    QImage reduced = reduceColours(image, depth, true);
    if (reduced.format() == QImage::Format_Mono)
        reduced = reduced.convertToFormat(QImage::Format_Indexed8, reduced.colorTable());
    out.image = reduced;
    out.bits = depth == 0 ? 4 : depth;
    return out;
}

void packRow(const uchar *indices, int width, int bits, uchar *out, qsizetype outBytes)
{
    std::memset(out, 0, size_t(outBytes));
    if (bits == 8) {
        std::memcpy(out, indices, size_t(width));
        return;
    }
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        out[x / perByte] |= uchar((indices[x] & mask) << shift);
    }
}

namespace {

int failureFromErrno(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return kDiskFull;
    default:
        return kWriteError;
    }
}

// The permissions a new file gets: 0666 less the process's umask.
mode_t newFileMode()
{
    mode_t mask = 022;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("Umask:"))
                mask = mode_t(std::strtol(line.mid(6).trimmed().constData(), nullptr, 8));
    }
    return 0666 & ~mask;
}

int writeAll(int fd, QByteArrayView bytes)
{
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failureFromErrno(errno);
        }
        p += n;
        left -= n;
    }
    return kOk;
}

// A device, a pipe or a socket takes the bytes directly.
int writeInPlace(const QByteArray &target, QByteArrayView bytes)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return kCannotCreate;
    int status = writeAll(fd, bytes);
    if (::close(fd) != 0 && status > 0)
        status = failureFromErrno(errno);
    return status;
}

} // namespace

int writeFileAtomically(const QString &path, QByteArrayView bytes)
{
    QFileInfo info(path);
    if (info.isSymLink())
        info = QFileInfo(info.symLinkTarget());
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    struct stat existing{};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return kCannotCreate;
    if (exists && !S_ISREG(existing.st_mode))
        return writeInPlace(target, bytes);

    QByteArray temporary = QFile::encodeName(info.absolutePath()) + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return (errno == ENOSPC || errno == EDQUOT) ? kDiskFull : kCannotCreate;
    ::fchmod(fd, exists ? (existing.st_mode & 07777) : newFileMode());
    int status = writeAll(fd, bytes);
    if (status > 0 && ::fsync(fd) != 0)
        status = failureFromErrno(errno);
    if (::close(fd) != 0 && status > 0)
        status = failureFromErrno(errno);
    if (status > 0 && ::rename(temporary.constData(), target.constData()) != 0)
        status = kCannotCreate;
    if (status <= 0)
        ::unlink(temporary.constData());
    return status;
}

int dotsPerInchX(const QImage &image)
{
    return qMax(0, qRound(image.dotsPerMeterX() * 0.0254));
}

int dotsPerInchY(const QImage &image)
{
    return qMax(0, qRound(image.dotsPerMeterY() * 0.0254));
}

} // namespace pelorin::codec::detail
