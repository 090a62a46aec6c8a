#include "browse/thumbnailmaker.h"
#include "browse/thumbnailtile.h"
#include "imaging/imagecomponent.h"
#include "imaging/pictureholder.h"
#include "platform/workdir.h"
#include "messagelog.h"

#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace pelorin;

namespace {

constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kBlue = 0xff0000ff;
constexpr QRgb kWhite = 0xffffffff;

QImage filled(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Left half red, right half blue.
QImage halves(QSize size)
{
    QImage image = filled(size, kRed);
    for (int y = 0; y < size.height(); ++y)
        for (int x = size.width() / 2; x < size.width(); ++x)
            image.setPixel(x, y, kBlue);
    return image;
}

void save(const QImage &image, const QString &path, const char *format = nullptr, int quality = -1)
{
    QImageWriter writer(path, format);
    writer.setQuality(quality);
    QVERIFY2(writer.write(image), qPrintable(path + QLatin1Char(' ') + writer.errorString()));
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

int count(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

bool near(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) < 40 && qAbs(qGreen(a) - qGreen(b)) < 40 && qAbs(qBlue(a) - qBlue(b)) < 40;
}

} // namespace

class TestThumbnailMaker : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;
    std::optional<WorkingDirectoryGuard> mGuard;

private slots:
    void initTestCase()
    {
        QVERIFY(mDir.isValid());
        mGuard.emplace();
        setWorkingDirectory(mDir.path());
        save(halves(QSize(200, 100)), mDir.filePath(QStringLiteral("wide.png")));
        save(halves(QSize(1600, 800)), mDir.filePath(QStringLiteral("wide.jpg")), "jpeg", 95);
        save(filled(QSize(64, 48), kWhite), mDir.filePath(QStringLiteral("white.bmp")), "bmp");
        QImage icon = filled(QSize(32, 32), kRed);
        icon.setPixel(31, 31, kBlue);
        save(icon, mDir.filePath(QStringLiteral("icon.ico")), "ico");
        writeBytes(mDir.filePath(QStringLiteral("broken.wmf")), QByteArray(200, '\x11'));
        writeBytes(mDir.filePath(QStringLiteral("broken.jpg")), QByteArray("not a picture at all"));
        save(filled(QSize(10, 10), kBlue), mDir.filePath(QStringLiteral("blue.tif")), "tiff");
    }
    void cleanupTestCase() { mGuard.reset(); }

    // A wide picture fills a square tile squashed, from a lossless file and from a JPEG
    // decoded at a reduced scale, and in every tile size.
    void rasterFillsTheTile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("png 70") << "wide.png" << QSize(70, 70);
        QTest::newRow("jpeg 70") << "wide.jpg" << QSize(70, 70);
        QTest::newRow("jpeg 150x20") << "wide.jpg" << QSize(150, 20);
        QTest::newRow("jpeg report style") << "wide.jpg" << QSize(50, 50);
    }
    void rasterFillsTheTile()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        ImageComponent component;
        PictureHolder picture;
        ThumbnailMaker maker(component, picture);
        maker.begin({name}, mDir.path(), size);
        const QImage tile = maker.make(0, name, size);
        maker.end();
        QCOMPARE(tile.size(), size);
        const int w = size.width(), h = size.height();
        for (const QPoint p : {QPoint(0, 0), QPoint(w / 2 - 2, h - 1), QPoint(0, h - 1)})
            QVERIFY2(near(tile.pixel(p), kRed), qPrintable(QString::number(tile.pixel(p), 16)));
        for (const QPoint p : {QPoint(w - 1, 0), QPoint(w / 2 + 2, h - 1), QPoint(w - 1, h - 1)})
            QVERIFY2(near(tile.pixel(p), kBlue), qPrintable(QString::number(tile.pixel(p), 16)));
        if (name.endsWith(QLatin1String(".png")))
            QCOMPARE(count(tile, kRed) + count(tile, kBlue), w * h);
    }

    // An icon keeps its own size at the top-left corner: a small tile shows its corner,
    // a large one the whole icon and white around it.
    void iconAtItsOwnSize()
    {
        ImageComponent component;
        PictureHolder picture;
        ThumbnailMaker maker(component, picture);
        const QStringList names{QStringLiteral("icon.ico")};
        maker.begin(names, mDir.path(), QSize(20, 20));
        const QImage small = maker.make(0, names.at(0), QSize(20, 20));
        QCOMPARE(count(small, kRed), 20 * 20);
        maker.begin(names, mDir.path(), QSize(150, 150));
        const QImage large = maker.make(0, names.at(0), QSize(150, 150));
        QCOMPARE(large.pixel(0, 0), kRed);
        QCOMPARE(large.pixel(31, 31), kBlue);
        QCOMPARE(count(large, kRed), 32 * 32 - 1);
        QCOMPARE(count(large, kWhite), 150 * 150 - 32 * 32);
    }

    // One listing's worth of files: each tile is its own file's, a broken metafile gets
    // the error tile without a message, a broken JPEG's messages come when its turn
    // comes (not when it was decoded ahead), and a name without a reader shows what
    // the component held before.
    void aListingOfMixedFiles()
    {
        test::ScriptedMessages messages;
        ImageComponent component;
        PictureHolder picture;
        ThumbnailMaker maker(component, picture);
        const QStringList names{QStringLiteral("blue.tif"), QStringLiteral("broken.wmf"), QStringLiteral("white.bmp"),
                                QStringLiteral("wide.png"), QStringLiteral("broken.jpg"), QStringLiteral("blue.tif"),
                                QStringLiteral("odd.jpe"), QStringLiteral("gone.png")};
        writeBytes(mDir.filePath(QStringLiteral("odd.jpe")), "x");
        const QSize size(40, 40);
        maker.begin(names, mDir.path(), size);
        QList<QImage> tiles;
        for (int i = 0; i < names.size(); ++i) {
            tiles << maker.make(i, names.at(i), size);
            if (i < 4)
                QVERIFY(messages.shown.isEmpty());
            if (i == 4) {
                QCOMPARE(messages.shown.size(), 2);
                QCOMPARE(messages.shown.at(0).kind, MessageKind::Error);
                QCOMPARE(messages.shown.at(1).kind, MessageKind::Information);
                QCOMPARE(messages.shown.at(1).text, QStringLiteral("Reading jpg file failed"));
            }
        }
        maker.end();
        QCOMPARE(count(tiles.at(0), kBlue), 40 * 40);
        QCOMPARE(tiles.at(1).pixel(39, 39), kWhite);
        QVERIFY(count(tiles.at(1), kWhite) < 40 * 40); // "Error" is written on it
        QCOMPARE(count(tiles.at(2), kWhite), 40 * 40);  // a white picture: the mask hides it all
        QCOMPARE(tiles.at(3).pixel(0, 0), kRed);
        QCOMPARE(count(tiles.at(4), kWhite), 40 * 40);  // the reader made nothing
        QCOMPARE(count(tiles.at(5), kBlue), 40 * 40);
        QCOMPARE(count(tiles.at(6), kBlue), 40 * 40);   // no reader: the picture stays
        QCOMPARE(count(tiles.at(7), kWhite), 40 * 40);  // missing: empty
        QCOMPARE(messages.shown.size(), 2);
    }
};

QTEST_MAIN(TestThumbnailMaker)
#include "test_thumbnailmaker.moc"
