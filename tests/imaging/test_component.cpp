// The image component: which reader a name picks, what a missing or unreadable file
// leaves, reading at the display's depth, the writers' depths, sizes, icons, holders.

#include "messagelog.h"

#include "imaging/displaydepth.h"
#include "imaging/imagecomponent.h"
#include "imaging/imageholders.h"
#include "platform/error.h"
#include "platform/workdir.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace pelorin;
using test::ScriptedMessages;

namespace {

QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x + y) % 256));
    return image;
}

QImage solid(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class ComponentTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void extensionPicksReader_data();
    void extensionPicksReader();
    void missingFileEmptiesSilently_data();
    void missingFileEmptiesSilently();
    void readerFailureShowsMessagesAndKeepsImage_data();
    void readerFailureShowsMessagesAndKeepsImage();
    void automaticReadDepthFollowsDisplay_data();
    void automaticReadDepthFollowsDisplay();
    void displayDepthRule();
    void writeDepthByFormat_data();
    void writeDepthByFormat();
    void automaticWriteOnPaletteDisplay();
    void writerFailureShowsCodecTextThenOurs_data();
    void writerFailureShowsCodecTextThenOurs();
    void autoSizeFollowsPicture();
    void iconEntersAsSystemPicture();
    void brokenIconRaisesAndEmpties();
    void bitmapStretchesWithoutSmoothing();
    void holdersAreIndependent();

private:
    QString write(const QString &name, const QImage &image, const char *format);

    std::unique_ptr<ScriptedMessages> mMessages;
    std::unique_ptr<QTemporaryDir> mDir;
    std::unique_ptr<WorkingDirectoryGuard> mRestore;
};

void ComponentTest::init()
{
    mMessages = std::make_unique<ScriptedMessages>();
    mDir = std::make_unique<QTemporaryDir>();
    QVERIFY(mDir->isValid());
    mRestore = std::make_unique<WorkingDirectoryGuard>();
    setWorkingDirectory(mDir->path());
    setScreenBitsOverride(24);
}

void ComponentTest::cleanup()
{
    setScreenBitsOverride(std::nullopt);
    mRestore.reset();
    mDir.reset();
    mMessages.reset();
}

QString ComponentTest::write(const QString &name, const QImage &image, const char *format)
{
    const QString path = mDir->filePath(name);
    if (!image.save(path, format))
        qFatal("cannot write the fixture %s", qPrintable(name));
    return name;
}

void ComponentTest::extensionPicksReader_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<bool>("loads");
    // Only the first four characters of the extension count: ".tiff" is ".TIF", while
    // ".jpeg" becomes ".JPE", which no reader takes.
    QTest::newRow("bmp") << "a.bmp" << QByteArray("BMP") << true;
    QTest::newRow("dib") << "b.dib" << QByteArray("BMP") << true;
    QTest::newRow("upper-case jpg") << "c.JPG" << QByteArray("JPEG") << true;
    QTest::newRow("png") << "d.png" << QByteArray("PNG") << true;
    QTest::newRow("tiff") << "e.tiff" << QByteArray("TIFF") << true;
    QTest::newRow("jpeg") << "f.jpeg" << QByteArray("JPEG") << false;
    QTest::newRow("unknown") << "g.txt" << QByteArray("PNG") << false;
    QTest::newRow("no extension") << "h" << QByteArray("PNG") << false;
}

void ComponentTest::extensionPicksReader()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(bool, loads);

    ImageComponent component;
    component.setImageName(write(QStringLiteral("before.png"), solid(3, 5, Qt::red), "PNG"));
    QCOMPARE(component.picture().size(), QSize(3, 5));

    component.setImageName(write(name, solid(40, 30, Qt::blue), format.constData()));
    QVERIFY(mMessages->shown.isEmpty());
    QCOMPARE(component.picture().kind(), Picture::Kind::Bitmap);
    QCOMPARE(component.picture().size(), loads ? QSize(40, 30) : QSize(3, 5));
    if (loads)
        QCOMPARE(component.statusText(), name.toUpper());
}

void ComponentTest::missingFileEmptiesSilently_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("raster") << "gone.bmp";
    // The file's existence is checked before its extension.
    QTest::newRow("unread extension") << "gone.jpeg";
    QTest::newRow("icon") << "gone.ico";
}

void ComponentTest::missingFileEmptiesSilently()
{
    QFETCH(QString, name);
    ImageComponent component;
    component.setImageName(write(QStringLiteral("there.png"), solid(8, 8, Qt::green), "PNG"));
    QVERIFY(!component.picture().isEmpty());

    component.setImageName(name);
    QVERIFY(component.picture().isEmpty());
    QCOMPARE(component.picture().size(), QSize(0, 0));
    QVERIFY(mMessages->shown.isEmpty());
    QCOMPARE(component.statusText(), QStringLiteral("file not found"));
}

void ComponentTest::readerFailureShowsMessagesAndKeepsImage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QSize>("kept");

    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        solid(16, 16, Qt::yellow).convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    }
    // Half of the rows gone: the reader keeps the rows that are there.
    QTest::newRow("truncated bmp") << "cut.bmp" << bmp.left(bmp.size() - 16 * 16 * 3 / 2)
                                   << QStringList{QStringLiteral("file truncated"), QStringLiteral("Reading bmp file failed")} << QSize(16, 16);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        solid(4, 4, Qt::red).save(&buffer, "PNG");
    }
    QTest::newRow("png named bmp") << "wrong.bmp" << png << QStringList{QStringLiteral("not a BMP file"), QStringLiteral("Reading bmp file failed")}
                                   << QSize(0, 0);
    QTest::newRow("garbage jpg") << "junk.jpg" << QByteArray(100, 'x')
                                 << QStringList{QStringLiteral("not a JPEG file"), QStringLiteral("Reading jpg file failed")} << QSize(0, 0);
    QTest::newRow("empty pcx") << "empty.pcx" << QByteArray() << QStringList{QStringLiteral("not a PCX file"), QStringLiteral("Reading pcx file failed")}
                               << QSize(0, 0);
}

void ComponentTest::readerFailureShowsMessagesAndKeepsImage()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, texts);
    QFETCH(QSize, kept);

    QFile file(mDir->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    ImageComponent component;
    component.setImageName(write(QStringLiteral("before.png"), solid(3, 5, Qt::red), "PNG"));
    component.setImageName(name);
    QCOMPARE(mMessages->texts(), texts);
    QCOMPARE(mMessages->shown.at(0).kind, MessageKind::Error);
    QCOMPARE(mMessages->shown.at(1).kind, MessageKind::Information);
    QCOMPARE(component.picture().size(), kept);
}

void ComponentTest::automaticReadDepthFollowsDisplay_data()
{
    QTest::addColumn<int>("screenBits");
    QTest::addColumn<int>("maxColours");
    QTest::newRow("true colour screen") << 24 << 0;
    QTest::newRow("256-colour screen") << 8 << 256;
    QTest::newRow("16-colour screen") << 4 << 16;
}

void ComponentTest::automaticReadDepthFollowsDisplay()
{
    QFETCH(int, screenBits);
    QFETCH(int, maxColours);
    setScreenBitsOverride(screenBits);
    const QImage source = gradient(64, 64);
    ImageComponent component;
    component.setImageName(write(QStringLiteral("photo.png"), source, "PNG"));
    const QImage &read = component.picture().bitmap();
    QCOMPARE(read.size(), source.size());
    if (maxColours == 0) {
        QCOMPARE(read.convertToFormat(QImage::Format_RGB32), source);
        return;
    }
    QSet<QRgb> colours;
    for (int y = 0; y < read.height(); ++y)
        for (int x = 0; x < read.width(); ++x)
            colours.insert(read.pixel(x, y));
    QVERIFY2(colours.size() <= maxColours, qPrintable(QString::number(colours.size())));
    QVERIFY(colours.size() > 2);
}

void ComponentTest::displayDepthRule()
{
    const QList<QPair<int, int>> rule{{1, 4}, {4, 4}, {5, 8}, {8, 8}, {15, 8}, {16, 24}, {24, 24}, {32, 24}};
    for (const auto &[bits, depth] : rule) {
        QCOMPARE(depthForScreenBits(bits), depth);
        setScreenBitsOverride(bits);
        QCOMPARE(displayDepth(), depth);
    }
}

void ComponentTest::writeDepthByFormat_data()
{
    using C = ImageComponent;
    QTest::addColumn<int>("setting");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("screenBits");
    QTest::addColumn<int>("depth");
    const int bmp = int(C::Format::Bmp), jpeg = int(C::Format::Jpeg), gif = int(C::Format::Gif),
              tiff = int(C::Format::Tiff);
    QTest::newRow("bmp vga") << int(C::sColorVga) << bmp << 24 << 0;
    QTest::newRow("bmp mono") << int(C::sMonoChrome) << bmp << 24 << 1;
    QTest::newRow("tiff 16") << int(C::sColor16) << tiff << 24 << 4;
    QTest::newRow("bmp jpeg-grey") << int(C::sJpegGray) << bmp << 24 << 8;
    QTest::newRow("bmp auto on 256 colours") << int(C::sAutoMatic) << bmp << 8 << 8;
    QTest::newRow("bmp auto on true colour") << int(C::sAutoMatic) << bmp << 32 << 24;
    QTest::newRow("jpeg grey") << int(C::sJpegGray) << jpeg << 24 << 1;
    QTest::newRow("jpeg mono") << int(C::sMonoChrome) << jpeg << 24 << 1;
    QTest::newRow("jpeg 256") << int(C::sColor256) << jpeg << 24 << 24;
    QTest::newRow("jpeg auto on 256 colours") << int(C::sAutoMatic) << jpeg << 8 << 24;
    QTest::newRow("gif true colour") << int(C::sColorTrue) << gif << 24 << 8;
    QTest::newRow("gif auto on true colour") << int(C::sAutoMatic) << gif << 24 << 8;
    QTest::newRow("gif auto on 16 colours") << int(C::sAutoMatic) << gif << 4 << 4;
}

void ComponentTest::writeDepthByFormat()
{
    QFETCH(int, setting);
    QFETCH(int, format);
    QFETCH(int, screenBits);
    QFETCH(int, depth);
    setScreenBitsOverride(screenBits);
    ImageComponent component;
    component.ImageWriteRes = ImageComponent::WriteRes(setting);
    QCOMPARE(component.writeDepth(ImageComponent::Format(format)), depth);
}

void ComponentTest::automaticWriteOnPaletteDisplay()
{
    // A true-colour image on a 256-colour display is read at 8 bits and written back at
    // 8 bits; JPEG stays 24-bit colour.
    setScreenBitsOverride(8);
    ImageComponent component;
    component.setImageName(write(QStringLiteral("photo.png"), gradient(64, 48), "PNG"));
    QCOMPARE(component.picture().bitmap().format(), QImage::Format_Indexed8);
    QVERIFY(component.writeBmp(QStringLiteral("back.bmp")));
    QVERIFY(component.writeJpeg(QStringLiteral("back.jpg")));
    QVERIFY(mMessages->shown.isEmpty());

    QFile bmp(mDir->filePath(QStringLiteral("back.bmp")));
    QVERIFY(bmp.open(QIODevice::ReadOnly));
    const QByteArray header = bmp.read(30);
    QCOMPARE(int(quint8(header[28]) | quint8(header[29]) << 8), 8);
    const QImage jpeg(mDir->filePath(QStringLiteral("back.jpg")));
    QCOMPARE(jpeg.size(), QSize(64, 48));
    QVERIFY(!jpeg.isGrayscale());
}

void ComponentTest::writerFailureShowsCodecTextThenOurs_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("failed");
    using F = ImageComponent::Format;
    QTest::newRow("bmp") << int(F::Bmp) << "Writing bmp file failed";
    QTest::newRow("png") << int(F::Png) << "Writing png file failed";
    QTest::newRow("jpg") << int(F::Jpeg) << "Writing jpg file failed";
    QTest::newRow("gif") << int(F::Gif) << "Writing gif file failed";
    QTest::newRow("tif") << int(F::Tiff) << "Writing tif file failed";
    QTest::newRow("pcx") << int(F::Pcx) << "Writing pcx file failed";
}

void ComponentTest::writerFailureShowsCodecTextThenOurs()
{
    QFETCH(int, format);
    QFETCH(QString, failed);
    ImageComponent component;
    component.setImageName(write(QStringLiteral("small.png"), solid(4, 4, Qt::red), "PNG"));
    QVERIFY(!component.write(ImageComponent::Format(format), QStringLiteral("no-such-dir/out")));
    QCOMPARE(mMessages->shown.size(), 2);
    QCOMPARE(mMessages->shown.at(0).kind, MessageKind::Error);
    QVERIFY(!mMessages->shown.at(0).text.isEmpty());
    QCOMPARE(mMessages->shown.at(1).kind, MessageKind::Information);
    QCOMPARE(mMessages->shown.at(1).text, failed);
    QVERIFY(!QFile::exists(mDir->filePath(QStringLiteral("no-such-dir"))));
}

void ComponentTest::autoSizeFollowsPicture()
{
    ImageComponent sized;
    sized.AutoSize = true;
    ImageComponent fixed;
    fixed.setSize(QSize(70, 70));
    const QString name = write(QStringLiteral("wide.bmp"), solid(200, 100, Qt::blue), "BMP");
    sized.setImageName(name);
    fixed.setImageName(name);
    QCOMPARE(sized.size(), QSize(200, 100));
    QCOMPARE(fixed.size(), QSize(70, 70));

    // An empty picture has no size to take: the control keeps the last one.
    sized.setImageName(QStringLiteral("missing.bmp"));
    QCOMPARE(sized.size(), QSize(200, 100));
}

void ComponentTest::iconEntersAsSystemPicture()
{
    QImage icon(48, 48, QImage::Format_ARGB32);
    icon.fill(QColor(0, 0, 255));
    const QString name = write(QStringLiteral("app.ico"), icon, "ICO");

    ImageComponent component;
    component.AutoSize = true;
    component.setImageName(name);
    QCOMPARE(component.picture().kind(), Picture::Kind::Icon);
    QCOMPARE(component.picture().size(), QSize(32, 32));
    QCOMPARE(component.size(), QSize(32, 32));

    // Drawn at its own size at the rectangle's top-left, whatever the rectangle.
    QImage tile(100, 100, QImage::Format_RGB32);
    tile.fill(Qt::white);
    {
        QPainter painter(&tile);
        component.picture().drawStretched(painter, QRect(10, 10, 20, 20));
    }
    QCOMPARE(tile.pixel(10 + 47, 10 + 47), qRgb(0, 0, 255));
    QCOMPARE(tile.pixel(10 + 48, 10 + 48), qRgb(255, 255, 255));
    QCOMPARE(tile.pixel(9, 9), qRgb(255, 255, 255));
}

void ComponentTest::brokenIconRaisesAndEmpties()
{
    QFile file(mDir->filePath(QStringLiteral("bad.ico")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\0\0\1\0\1\0garbage", 14);
    file.close();

    ImageComponent component;
    component.setImageName(write(QStringLiteral("before.png"), solid(3, 5, Qt::red), "PNG"));
    QVERIFY_THROWS_EXCEPTION(Error, component.setImageName(QStringLiteral("bad.ico")));
    QVERIFY(component.picture().isEmpty());
    QVERIFY(mMessages->shown.isEmpty());
}

void ComponentTest::bitmapStretchesWithoutSmoothing()
{
    QImage pair(2, 1, QImage::Format_RGB32);
    pair.setPixel(0, 0, qRgb(255, 0, 0));
    pair.setPixel(1, 0, qRgb(0, 0, 255));
    Picture picture;
    picture.setBitmap(pair);
    QImage tile(6, 4, QImage::Format_RGB32);
    tile.fill(Qt::white);
    {
        QPainter painter(&tile);
        picture.drawStretched(painter, tile.rect());
    }
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            QCOMPARE(tile.pixel(x, y), x < 3 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
}

void ComponentTest::holdersAreIndependent()
{
    ImageHolders &holders = imageHolders();
    QVERIFY(holders.workComponent.Stretch);
    QCOMPARE(holders.workComponent.TifSaveCompress, ImageComponent::sNONE);
    QCOMPARE(holders.viewerComponent.tiffCompressionCode(), 5);
    QVERIFY(holders.viewerComponent.PNGInterLaced && holders.viewerComponent.AutoSize);
    QVERIFY(!holders.scanComponent.PNGInterLaced && holders.scanComponent.AutoSize);
    QVERIFY(holders.metafilePicture.Stretch && holders.metafilePicture.AutoSize);
    for (ImageComponent *component : {&holders.workComponent, &holders.viewerComponent, &holders.scanComponent}) {
        QCOMPARE(component->JPegSaveQuality, quint8(25));
        QCOMPARE(component->JPegSaveSmooth, quint8(0));
        QCOMPARE(component->ImageReadRes, ImageComponent::lAutoMatic);
        QCOMPARE(component->ImageWriteRes, ImageComponent::sAutoMatic);
        QVERIFY(component->ImageDither);
    }

    holders.workComponent.setImageName(write(QStringLiteral("one.bmp"), solid(10, 20, Qt::red), "BMP"));
    holders.viewerComponent.setImageName(write(QStringLiteral("two.bmp"), solid(30, 40, Qt::blue), "BMP"));
    holders.scanComponent.setImageName(QStringLiteral("missing.bmp"));
    QCOMPARE(holders.workComponent.picture().size(), QSize(10, 20));
    QCOMPARE(holders.viewerComponent.picture().size(), QSize(30, 40));
    QVERIFY(holders.scanComponent.picture().isEmpty());
    QCOMPARE(holders.component(Holder::ViewerComponent), &holders.viewerComponent);
    QCOMPARE(holders.pictureHolder(Holder::WorkPicture), &holders.workPicture);
}

QTEST_GUILESS_MAIN(ComponentTest)
#include "test_component.moc"
