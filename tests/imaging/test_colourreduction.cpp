// Colour reduction: formats and palette sizes per depth, the fixed palettes, exact
// keeping of few colours, and the effect of Floyd-Steinberg dithering.
#include "imaging/codec/codec.h"

#include <QSet>
#include <QTest>

#include <cmath>

using namespace pelorin::codec;

namespace {

// A smooth three-way gradient with far more than 256 colours.
QImage gradient(int w = 96, int h = 64)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), (x + y) * 255 / (w + h - 2)));
    return image;
}

QImage flat(QRgb colour, int w = 64, int h = 64)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QSet<int> indicesUsed(const QImage &image)
{
    QSet<int> used;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            used.insert(image.pixelIndex(x, y));
    return used;
}

// Mean of one channel over the image as reduced.
double meanGrey(const QImage &image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGreen(image.pixel(x, y));
    return sum / (image.width() * image.height());
}

double meanAbsoluteError(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

class TestColourReduction : public QObject
{
    Q_OBJECT
private slots:
    void formatAndPalette_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("colours");
        QTest::addColumn<double>("maxError");
        QTest::newRow("VGA") << 0 << int(QImage::Format_Indexed8) << 16 << 50.0;
        QTest::newRow("black and white") << 1 << int(QImage::Format_Mono) << 2 << 128.0;
        QTest::newRow("16 colours") << 4 << int(QImage::Format_Indexed8) << 16 << 20.0;
        QTest::newRow("256 colours") << 8 << int(QImage::Format_Indexed8) << 256 << 6.0;
        QTest::newRow("true colour") << 24 << int(QImage::Format_RGB32) << 0 << 0.0;
    }
    void formatAndPalette()
    {
        QFETCH(int, depth);
        QFETCH(int, format);
        QFETCH(int, colours);
        QFETCH(double, maxError);
        const QImage source = gradient();
        for (bool dither : {false, true}) {
            const QImage out = reduceColours(source, depth, dither);
            QCOMPARE(int(out.format()), format);
            QCOMPARE(out.size(), source.size());
            QCOMPARE(int(out.colorCount()), colours);
            QVERIFY2(meanAbsoluteError(out, source) <= maxError, qPrintable(QString::number(meanAbsoluteError(out, source))));
        }
    }

    void fixedPalettesAreExact()
    {
        const QList<QRgb> vga{qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
                              qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
                              qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
                              qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
        QCOMPARE(reduceColours(gradient(), 0).colorTable(), vga);
        QCOMPARE(reduceColours(gradient(), 1).colorTable(), (QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
        // A VGA colour maps to itself, dithered or not.
        for (QRgb c : vga)
            for (bool dither : {false, true})
                QCOMPARE(indicesUsed(reduceColours(flat(c), 0, dither)), QSet<int>{int(vga.indexOf(c))});
    }

    void fewColoursAreKeptExactly()
    {
        // Neighbouring colours that a coarse lookup would merge must stay apart.
        QImage image(20, 4, QImage::Format_ARGB32);
        const QList<QRgb> colours{qRgb(128, 0, 0), qRgb(129, 0, 0), qRgb(130, 1, 0), qRgb(10, 200, 30), qRgb(255, 255, 255)};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, colours[(x + y) % colours.size()]);
        for (int depth : {4, 8}) {
            const QImage out = reduceColours(image, depth, true);
            QCOMPARE(out.colorCount(), colours.size());
            QCOMPARE(meanAbsoluteError(out, image), 0.0);
        }
    }

    void ditheringMixesNeighbouringEntries_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<int>("undithered");
        // Grey 160 lies between VGA grey 128 (index 8) and silver 192 (index 7).
        QTest::newRow("VGA") << 0 << qRgb(160, 160, 160) << 2;
        // Grey 100 is dark: black without dithering, a black and white mix with it.
        QTest::newRow("black and white") << 1 << qRgb(100, 100, 100) << 0;
    }
    void ditheringMixesNeighbouringEntries()
    {
        QFETCH(int, depth);
        QFETCH(QRgb, colour);
        QFETCH(int, undithered);
        const QImage plain = reduceColours(flat(colour), depth, false);
        QCOMPARE(indicesUsed(plain).size(), 1);
        const QImage mixed = reduceColours(flat(colour), depth, true);
        QCOMPARE(indicesUsed(mixed).size(), 2);
        // The mix keeps the mean brightness of the flat colour.
        QVERIFY2(std::abs(meanGrey(mixed) - qGreen(colour)) < 3.0, qPrintable(QString::number(meanGrey(mixed))));
        QVERIFY(std::abs(meanGrey(plain) - qGreen(colour)) > 20.0 || undithered == 2);
    }

    void adaptivePaletteFollowsTheImage()
    {
        // Two far-apart colour clusters: a 16-colour palette must serve both.
        QImage image = gradient(64, 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 32; x < 64; ++x)
                image.setPixel(x, y, qRgb(250 - (x + y) / 8, 20 + y / 8, 200));
        const QImage out = reduceColours(image, 4, false);
        bool nearThePurple = false;
        for (QRgb c : out.colorTable())
            nearThePurple |= std::abs(qRed(c) - 240) < 16 && std::abs(qBlue(c) - 200) < 8;
        QVERIFY(nearThePurple);
    }

    void nullImage()
    {
        QVERIFY(reduceColours(QImage(), 8).isNull());
    }
};

QTEST_GUILESS_MAIN(TestColourReduction)
#include "test_colourreduction.moc"
