#include "browse/thumbnailtile.h"

#include <QTest>

using namespace pelorin;

namespace {

QImage quadrants(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            image.setPixel(x, y, bottom ? (right ? 0xff000000 : 0xff0000ff) : (right ? 0xff00ff00 : 0xffff0000));
        }
    return image;
}

int countPixels(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

} // namespace

class TestThumbnailTile : public QObject
{
    Q_OBJECT
private slots:
    // A wide picture fills a square tile completely, squashed horizontally, and no
    // smoothing mixes new colours in at the edges between the quadrants.
    void rasterIsStretchedOnEachAxisWithoutSmoothing()
    {
        const QImage tile = stretchedTile(quadrants(200, 100), QSize(70, 70));
        QCOMPARE(tile.size(), QSize(70, 70));
        QCOMPARE(tile.pixel(0, 0), QRgb(0xffff0000));
        QCOMPARE(tile.pixel(69, 0), QRgb(0xff00ff00));
        QCOMPARE(tile.pixel(0, 69), QRgb(0xff0000ff));
        QCOMPARE(tile.pixel(69, 69), QRgb(0xff000000));
        const int quarter = 35 * 35;
        QCOMPARE(countPixels(tile, 0xffff0000), quarter);
        QCOMPARE(countPixels(tile, 0xff00ff00), quarter);
        QCOMPARE(countPixels(tile, 0xff0000ff), quarter);
        QCOMPARE(countPixels(tile, 0xff000000), quarter);
    }

    void emptyAndTransparentPicturesLeaveWhite()
    {
        const QSize size(40, 30);
        QCOMPARE(countPixels(stretchedTile(QImage(), size), 0xffffffff), 40 * 30);
        QImage clear(10, 10, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QCOMPARE(countPixels(stretchedTile(clear, size), 0xffffffff), 40 * 30);
        QImage indexed(8, 8, QImage::Format_Indexed8);
        indexed.setColorTable({0xff102030});
        indexed.fill(0);
        QCOMPARE(countPixels(stretchedTile(indexed, size), 0xff102030), 40 * 30);
    }

    // "Error" sits at the top-left corner, black on white; the rest stays white.
    void errorTileHasTheWordAtTheTopLeft()
    {
        const QImage tile = errorTile(QSize(150, 150));
        QCOMPARE(tile.size(), QSize(150, 150));
        int black = 0;
        QRect inked;
        for (int y = 0; y < tile.height(); ++y)
            for (int x = 0; x < tile.width(); ++x) {
                const QRgb p = tile.pixel(x, y);
                if (p != 0xffffffff)
                    inked |= QRect(x, y, 1, 1);
                black += p == 0xff000000;
            }
        QVERIFY(black > 10);
        QVERIFY2(inked.left() < 4 && inked.top() < 8, qPrintable(QStringLiteral("ink starts at %1,%2").arg(inked.left()).arg(inked.top())));
        QVERIFY(inked.bottom() < 40 && inked.right() < 100);
        // A small tile holds what fits of the word.
        const QImage small = errorTile(QSize(20, 20));
        QVERIFY(countPixels(small, 0xffffffff) < 20 * 20);
    }
};

QTEST_MAIN(TestThumbnailTile)
#include "test_thumbnailtile.moc"
