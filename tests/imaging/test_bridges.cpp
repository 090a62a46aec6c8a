// The bridges between the loading routes: what reaches the bitmap or the component, and
// that the scratch files stay in WindowsDir and the working directory comes back.

#include "messagelog.h"

#include "imaging/bridges.h"
#include "imaging/displaydepth.h"
#include "imaging/imagecomponent.h"
#include "imaging/pictureholder.h"
#include "platform/error.h"
#include "platform/workdir.h"
#include "shell/appstate.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace pelorin;

class BridgesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void bitmapBridgeWritesThroughScratchFile();
    void componentBridgeRendersIcon();
    void componentBridgeRendersMetafile();
    void componentBridgeRaisesForBadFile();

private:
    // A file of the user's with a scratch file's name, which no bridge may touch.
    void plantDecoy(const QString &name);
    void checkDecoysAndScratch();

    test::ScriptedMessages mMessages;
    QTemporaryDir mUser;
    QTemporaryDir mScratch;
    QString mOldWindowsDir;
};

void BridgesTest::init()
{
    QVERIFY(mUser.isValid() && mScratch.isValid());
    mOldWindowsDir = appState().WindowsDir;
    appState().WindowsDir = includeBackslash(mScratch.path());
    setWorkingDirectory(mUser.path());
    setScreenBitsOverride(24);
    mMessages.shown.clear();
    plantDecoy(QStringLiteral("$.$mp"));
    plantDecoy(QStringLiteral("$.bmp"));
}

void BridgesTest::cleanup()
{
    appState().WindowsDir = mOldWindowsDir;
    setScreenBitsOverride(std::nullopt);
}

void BridgesTest::plantDecoy(const QString &name)
{
    QFile decoy(mUser.filePath(name));
    QVERIFY(decoy.open(QIODevice::WriteOnly));
    decoy.write("the user's own file");
}

void BridgesTest::checkDecoysAndScratch()
{
    QCOMPARE(workingDirectory(), QDir(mUser.path()).canonicalPath());
    for (const QString &name : {QStringLiteral("$.$mp"), QStringLiteral("$.bmp")}) {
        QFile decoy(mUser.filePath(name));
        QVERIFY(decoy.open(QIODevice::ReadOnly));
        QCOMPARE(decoy.readAll(), QByteArray("the user's own file"));
        QVERIFY2(!QFile::exists(mScratch.filePath(name)), qPrintable(name));
    }
}

void BridgesTest::bitmapBridgeWritesThroughScratchFile()
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    ImageComponent component;
    Picture picture;
    picture.setBitmap(image);
    component.setPicture(picture);

    const QImage bitmap = BridgeToBitmap(component);
    QVERIFY2(mMessages.shown.isEmpty(), qPrintable(mMessages.texts().join(QLatin1String("; "))));
    QCOMPARE(bitmap.convertToFormat(QImage::Format_RGB32), image);
    checkDecoysAndScratch();
}

void BridgesTest::componentBridgeRendersIcon()
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(QColor(0, 0, 255));
    QVERIFY(icon.save(mUser.filePath(QStringLiteral("app.ico")), "ICO"));

    PictureHolder work;
    ImageComponent target;
    BridgeToComponent(QStringLiteral("app.ico"), QSize(32, 32), work, target);

    QCOMPARE(work.picture().kind(), Picture::Kind::Icon);
    const QImage &bitmap = target.picture().bitmap();
    QCOMPARE(bitmap.size(), QSize(32, 32));
    // The icon at its own size at the top-left, the rest of the white bitmap around it.
    QCOMPARE(bitmap.pixel(15, 15), qRgb(0, 0, 255));
    QCOMPARE(bitmap.pixel(16, 16), qRgb(255, 255, 255));
    QCOMPARE(target.imageName(), QStringLiteral("$.bmp"));
    QVERIFY(mMessages.shown.isEmpty());
    checkDecoysAndScratch();
}

void BridgesTest::componentBridgeRendersMetafile()
{
    const QString source = QStringLiteral(PELORIN_CORPUS_DIR "/emf/libuemf/test_libuemf_ref.emf");
    QVERIFY(QFile::copy(source, mUser.filePath(QStringLiteral("drawing.emf"))));
    PictureHolder work;
    ImageComponent target;
    BridgeToComponent(QStringLiteral("drawing.emf"), QSize(300, 300), work, target);

    QCOMPARE(work.picture().kind(), Picture::Kind::Metafile);
    QCOMPARE(target.picture().size(), QSize(300, 300));
    // The drawing fills the bitmap: its rendering at 300 x 300 is what the component holds.
    QImage expected(300, 300, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        work.picture().drawStretched(painter, expected.rect());
    }
    QCOMPARE(target.picture().bitmap().convertToFormat(QImage::Format_RGB32), expected);
    QVERIFY(mMessages.shown.isEmpty());
    checkDecoysAndScratch();
}

void BridgesTest::componentBridgeRaisesForBadFile()
{
    PictureHolder work;
    ImageComponent target;
    QVERIFY_THROWS_EXCEPTION(Error, BridgeToComponent(QStringLiteral("missing.ico"), QSize(32, 32), work, target));
    QVERIFY(target.picture().isEmpty());
    checkDecoysAndScratch();
}

QTEST_MAIN(BridgesTest)
#include "test_bridges.moc"
