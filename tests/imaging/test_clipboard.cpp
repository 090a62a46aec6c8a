// Placing a holder's picture on the clipboard (offscreen platform, in-process clipboard).

#include "imaging/clipboardexport.h"
#include "imaging/picture.h"
#include "platform/error.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using namespace pelorin;

class ClipboardTest : public QObject
{
    Q_OBJECT

private slots:
    void bitmapGoesAsImage();
    void emptyPicturePlacesNothing();
    void iconRaisesAndLeavesClipboard();
    void metafileGoesAsDataAndImage();
};

void ClipboardTest::bitmapGoesAsImage()
{
    QImage image(7, 3, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    image.setPixel(6, 2, qRgb(200, 100, 50));
    Picture picture;
    picture.setBitmap(image);
    CopyImageToClipboard(picture);
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), image);
}

void ClipboardTest::emptyPicturePlacesNothing()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    CopyImageToClipboard(Picture());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

void ClipboardTest::iconRaisesAndLeavesClipboard()
{
    QTemporaryDir dir;
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    const QString path = dir.filePath(QStringLiteral("a.ico"));
    QVERIFY(icon.save(path, "ICO"));
    Picture picture;
    picture.loadFromFile(path);
    QCOMPARE(picture.kind(), Picture::Kind::Icon);

    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    QVERIFY_THROWS_EXCEPTION(Error, CopyImageToClipboard(picture));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

void ClipboardTest::metafileGoesAsDataAndImage()
{
    const QString path = QStringLiteral(PELORIN_CORPUS_DIR "/emf/libuemf/test_libuemf_ref.emf");
    Picture picture;
    picture.loadFromFile(path);
    QCOMPARE(picture.kind(), Picture::Kind::Metafile);
    CopyImageToClipboard(picture);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->data(QStringLiteral("image/emf")), file.readAll());
    const QImage image = QGuiApplication::clipboard()->image();
    QCOMPARE(image.size(), picture.size());
}

QTEST_MAIN(ClipboardTest)
#include "test_clipboard.moc"
