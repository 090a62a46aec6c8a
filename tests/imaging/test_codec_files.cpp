// How the writers meet the file system: a missing directory, a directory in the way,
// a full device, a file size limit and a full file system all fail with a status and
// leave the previous file untouched and no temporary file behind.
#include "imaging/codec/codec.h"
#include "codectools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pelorin;
using namespace pelorin::codec;

namespace {

using Writer = std::function<int(const QImage &, const QString &)>;

QList<std::pair<QString, Writer>> writers()
{
    return {{QStringLiteral("bmp"), [](const QImage &i, const QString &p) { return writeBmp(i, p, 24); }},
            {QStringLiteral("png"), [](const QImage &i, const QString &p) { return writePng(i, p, 24, true); }},
            {QStringLiteral("jpg"), [](const QImage &i, const QString &p) { return writeJpeg(i, p, 24, 100, 0); }},
            {QStringLiteral("gif"), [](const QImage &i, const QString &p) { return writeGif(i, p, 8); }},
            {QStringLiteral("tif"), [](const QImage &i, const QString &p) { return writeTiff(i, p, 24, 1); }},
            {QStringLiteral("pcx"), [](const QImage &i, const QString &p) { return writePcx(i, p, 24); }}};
}

// Noise compresses badly, so every format's file is large.
QImage noise(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, state >> 8);
        }
    return image;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Writes a good small file into dir for every writer, then a large one over it with
// fail in force, and checks the failure and that the good file survived alone.
void checkLargeWriteFailsCleanly(const QString &dir, const std::function<void(bool)> &fail)
{
    for (const auto &[format, write] : writers()) {
        const QString path = dir + QStringLiteral("/picture.") + format;
        QCOMPARE(write(noise(8, 8), path), int(kOk));
        const QByteArray good = contents(path);
        fail(true);
        const int status = write(noise(400, 300), path);
        fail(false);
        QVERIFY2(status == kDiskFull, qPrintable(format + QLatin1Char(' ') + statusText(status)));
        QCOMPARE(contents(path), good);
        QCOMPARE(entries(dir), QStringList{QFileInfo(path).fileName()});
        QFile::remove(path);
    }
}

} // namespace

class TestCodecFiles : public QObject
{
    Q_OBJECT
private slots:
    void missingDirectoryAndDirectoryInTheWay()
    {
        QTemporaryDir dir;
        for (const auto &[format, write] : writers()) {
            QCOMPARE(write(noise(4, 4), dir.filePath(QStringLiteral("missing/x.") + format)), int(kCannotCreate));
            const QString blocked = dir.filePath(QStringLiteral("blocked.") + format);
            QVERIFY(QDir().mkdir(blocked));
            QCOMPARE(write(noise(4, 4), blocked), int(kCannotCreate));
            QVERIFY(QFileInfo(blocked).isDir());
        }
        QCOMPARE(entries(dir.path()).size(), 6);
    }

    void fullDevice()
    {
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        for (const auto &[format, write] : writers()) {
            QCOMPARE(write(noise(64, 64), QStringLiteral("/dev/full")), int(kDiskFull));
            struct stat st{};
            QVERIFY(::stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode)); // written in place, never replaced
        }
    }

    void fileSizeLimitKeepsThePreviousFile()
    {
        QTemporaryDir dir;
        rlimit saved{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        checkLargeWriteFailsCleanly(dir.path(), [&saved](bool on) {
            rlimit limit = saved;
            limit.rlim_cur = on ? 16 * 1024 : saved.rlim_cur;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }

    void fullFileSystemKeepsThePreviousFile()
    {
        QTemporaryDir dir;
        const QString mountPoint = dir.filePath(QStringLiteral("small"));
        QVERIFY(QDir().mkdir(mountPoint));
        if (::geteuid() != 0
            || test::runTool(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                       QStringLiteral("size=128k"), QStringLiteral("tmpfs"), mountPoint})
                       .exitCode
                   != 0)
            QSKIP("cannot mount a small file system here");
        auto unmount = qScopeGuard([&] { test::runTool(QStringLiteral("umount"), {mountPoint}); });
        checkLargeWriteFailsCleanly(mountPoint, [](bool) {});
    }

    void overwriteKeepsPermissionsAndLinks()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bmp"));
        QCOMPARE(writeBmp(noise(4, 4), path, 24), int(kOk));
        const mode_t mask = ::umask(022);
        ::umask(mask);
        struct stat st{};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 0777, 0666 & ~mask);
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
        QCOMPARE(writeBmp(noise(5, 5), path, 24), int(kOk));
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0640));
        QCOMPARE(QImage(path).size(), QSize(5, 5));

        const QString link = dir.filePath(QStringLiteral("link.bmp"));
        QVERIFY(QFile::link(path, link));
        QCOMPARE(writeBmp(noise(6, 6), link, 24), int(kOk));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QImage(path).size(), QSize(6, 6));
    }
};

QTEST_GUILESS_MAIN(TestCodecFiles)
#include "test_codec_files.moc"
