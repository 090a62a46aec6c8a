#include "imaging/metafile/metafileclipboard.h"
#include "imaging/metafile/metafilepicture.h"
#include "imaging/systempicture.h"
#include "platform/error.h"
#include "messagelog.h"
#include "metafilebuilder.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace pelorin;
using pelorin::test::EmfBuilder;
using pelorin::test::WmfBuilder;
using pelorin::test::rgb;

namespace {

// WMF record functions and EMF record types the fixtures use.
enum : quint16 {
    kWmfSetWindowOrg = 0x020B,
    kWmfSetWindowExt = 0x020C,
    kWmfCreateBrush = 0x02FC,
    kWmfCreatePen = 0x02FA,
    kWmfSelectObject = 0x012D,
    kWmfRectangle = 0x041B,
};
enum : quint32 {
    kEmfPolygon = 3,
    kEmfSetMapMode = 17,
    kEmfSetPolyFillMode = 19,
    kEmfExcludeClipRect = 29,
    kEmfSetWindowExt = 9,
    kEmfSetViewportExt = 11,
    kEmfSetTextAlign = 22,
    kEmfSetTextColor = 24,
    kEmfSetBkMode = 18,
    kEmfSetWorldTransform = 35,
    kEmfSelectObject = 37,
    kEmfCreatePen = 38,
    kEmfCreateBrush = 39,
    kEmfRectangle = 43,
    kEmfBeginPath = 59,
    kEmfEndPath = 60,
    kEmfSelectClipPath = 67,
    kEmfCreateFont = 82,
    kEmfExtTextOutW = 84,
};

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

// A red rectangle without outline covering x 25%..75% and y 25%..50% of a
// 1000 x 1000 window placed at (-500, 1000).
QByteArray redRectangleWmf(bool placeable)
{
    WmfBuilder wmf;
    wmf.record(kWmfSetWindowOrg, {1000, -500})
        .record(kWmfSetWindowExt, {1000, 1000})
        .record(kWmfCreateBrush, {0, WmfBuilder::lo(rgb(255, 0, 0)), WmfBuilder::hi(rgb(255, 0, 0)), 0})
        .record(kWmfCreatePen, {5, 0, 0, 0, 0})
        .record(kWmfSelectObject, {0})
        .record(kWmfSelectObject, {1})
        .record(kWmfRectangle, {1500, 250, 1250, -250});
    return placeable ? wmf.finishPlaceable(QRect(-500, 1000, 1000, 1000), 1000) : wmf.finish();
}

// The EMF fixtures draw on a reference device of 1000 x 1000 pixels (the frame).
EmfBuilder emfWithRedBrush()
{
    EmfBuilder emf;
    emf.ints(kEmfCreateBrush, {1, 0, qint32(rgb(255, 0, 0)), 0})
        .ints(kEmfCreatePen, {2, 5, 0, 0, 0})
        .ints(kEmfSelectObject, {1})
        .ints(kEmfSelectObject, {2});
    return emf;
}

const QRect kEmfFrame(0, 0, 10000, 10000); // 100 mm square = 1000 reference pixels

QImage render(const QByteArray &data, QSize size)
{
    return MetafilePicture::fromData(data)->render(size).convertToFormat(QImage::Format_RGB32);
}

// The bounding box of every pixel that is not white.
QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                box |= QRect(x, y, 1, 1);
    return box;
}

QByteArray utf16(const QString &text)
{
    QByteArray out;
    for (QChar c : text)
        test::putU16(out, c.unicode());
    return out;
}

// An ExtTextOutW record payload: reference point, text, no rectangle, no advances.
QByteArray extTextOut(QPoint ref, const QString &text)
{
    QByteArray p;
    for (int v : {0, 0, 0, 0}) // bounds
        test::putU32(p, quint32(v));
    test::putU32(p, 1);         // graphics mode
    test::putF32(p, 1);
    test::putF32(p, 1);
    test::putU32(p, quint32(ref.x()));
    test::putU32(p, quint32(ref.y()));
    test::putU32(p, quint32(text.size()));
    test::putU32(p, 76);        // string offset from the record start
    test::putU32(p, 0x100);     // ETO_NO_RECT
    for (int v : {0, 0, 0, 0})
        test::putU32(p, quint32(v));
    test::putU32(p, 0);         // no advances
    return p + utf16(text) + QByteArray(text.size() % 2 ? 2 : 0, '\0');
}

QByteArray font(int height, qint32 escapement = 0)
{
    QByteArray p;
    test::putU32(p, 3); // object index
    for (int v : {-height, 0, escapement, 0, 700})
        test::putU32(p, quint32(v));
    p.append(QByteArray(8, '\0'));
    const QByteArray face = utf16(QStringLiteral("DejaVu Sans"));
    p.append(face);
    p.append(QByteArray(64 - face.size(), '\0'));
    return p;
}

} // namespace

class TestMetafile : public QObject
{
    Q_OBJECT
private slots:
    // Every metafile of the shared corpus loads (valid ones must) or raises, and plays.
    void corpusLoadsOrRaises()
    {
        QFile manifest(test::corpusDir() + QStringLiteral("/MANIFEST.tsv"));
        QVERIFY(manifest.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList mustLoad;
        while (!manifest.atEnd()) {
            const QStringList cols = QString::fromUtf8(manifest.readLine()).split(QLatin1Char('\t'));
            if (cols.size() > 3 && cols[3] == QLatin1String("valid")
                && (cols[0].endsWith(QLatin1String(".wmf")) || cols[0].endsWith(QLatin1String(".emf"))))
                mustLoad << cols[0];
        }
        QVERIFY(!mustLoad.isEmpty());
        int played = 0;
        for (const QString &sub : {QStringLiteral("wmf"), QStringLiteral("emf")}) {
            QDirIterator it(test::corpusDir() + QLatin1Char('/') + sub, {QStringLiteral("*.wmf"), QStringLiteral("*.emf")},
                            QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                const QString relative = path.mid(test::corpusDir().size() + 1);
                try {
                    const auto picture = loadSystemPicture(path);
                    QVERIFY2(picture->width() > 0 && picture->height() > 0, qPrintable(relative));
                    for (const QSize size : {QSize(300, 300), QSize(37, 91)}) {
                        QImage image(size, QImage::Format_RGB32);
                        image.fill(Qt::white);
                        QPainter painter(&image);
                        picture->draw(painter, image.rect());
                    }
                    ++played;
                } catch (const Error &e) {
                    QVERIFY2(!mustLoad.contains(relative), qPrintable(relative + QLatin1String(": ") + e.text()));
                    QVERIFY(e.text().contains(QFileInfo(path).fileName()));
                }
            }
        }
        QVERIFY(played >= mustLoad.size());
    }

    void notAMetafileRaises_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("this is not a metafile at all, just some text");
        QTest::newRow("wmf header cut") << redRectangleWmf(false).left(10);
        QTest::newRow("placeable without header") << redRectangleWmf(true).left(22);
        QByteArray badSignature = emfWithRedBrush().finish(kEmfFrame);
        badSignature[40] = 'X';
        QTest::newRow("emf signature") << badSignature;
        QTest::newRow("emf header cut") << emfWithRedBrush().finish(kEmfFrame).left(60);
        QTest::newRow("emf without frame or bounds") << emfWithRedBrush().finish(QRect());
    }
    void notAMetafileRaises()
    {
        QFETCH(QByteArray, data);
        QVERIFY_THROWS_EXCEPTION(Error, MetafilePicture::fromData(data));
    }

    void loadingNamesTheFile()
    {
        QTemporaryDir dir;
        const QString bad = dir.filePath(QStringLiteral("bad.wmf"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("garbage");
        file.close();
        for (const QString &path : {bad, dir.filePath(QStringLiteral("missing.emf"))}) {
            try {
                loadMetafile(path);
                QFAIL("no error raised");
            } catch (const Error &e) {
                QVERIFY(e.text().contains(path));
            }
        }
    }

    void sizeFromHeader_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("enhanced");
        // 1000 units at 1000 per inch: one inch, 96 screen pixels.
        QTest::newRow("placeable wmf") << redRectangleWmf(true) << QSize(96, 96) << false;
        QTest::newRow("plain wmf: its window") << redRectangleWmf(false) << QSize(1000, 1000) << false;
        WmfBuilder wide;
        wide.record(kWmfSetWindowExt, {720, 1440});
        QTest::newRow("placeable, twips") << wide.finishPlaceable(QRect(0, 0, 2880, 720), 1440) << QSize(192, 48) << false;
        // 100 mm frame at 96 per inch.
        QTest::newRow("emf frame") << emfWithRedBrush().finish(kEmfFrame) << QSize(378, 378) << true;
        QTest::newRow("emf frame, 1 x 2 inches") << emfWithRedBrush().finish(QRect(0, 0, 2540, 5080)) << QSize(96, 192) << true;
    }
    void sizeFromHeader()
    {
        QFETCH(QByteArray, data);
        QFETCH(QSize, size);
        QFETCH(bool, enhanced);
        const auto picture = MetafilePicture::fromData(data);
        QCOMPARE(QSize(picture->width(), picture->height()), size);
        QCOMPARE(picture->isEnhanced(), enhanced);
        QCOMPARE(picture->data(), data);
        QCOMPARE(picture->kind(), SystemPicture::Kind::Metafile);
    }

    // The window maps onto the target: x 25%..75%, y 25%..50% are red, the rest white,
    // at any target size and aspect.
    void redRectangleLandsInPlace_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QSize>("size");
        EmfBuilder emf = emfWithRedBrush();
        emf.ints(kEmfRectangle, {250, 250, 750, 500});
        const QByteArray emfData = emf.finish(kEmfFrame);
        // The same in anisotropic mapping: a 2000 x 4000 window on the 1000 x 1000 device.
        EmfBuilder mapped = emfWithRedBrush();
        mapped.ints(kEmfSetMapMode, {8})
            .ints(kEmfSetWindowExt, {2000, 4000})
            .ints(kEmfSetViewportExt, {1000, 1000})
            .ints(kEmfRectangle, {500, 1000, 1500, 2000});
        for (const QSize size : {QSize(300, 300), QSize(50, 50), QSize(4000, 3000)}) {
            const QByteArray name = QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height());
            QTest::newRow("placeable wmf " + name) << redRectangleWmf(true) << size;
            QTest::newRow("plain wmf " + name) << redRectangleWmf(false) << size;
            QTest::newRow("emf " + name) << emfData << size;
            QTest::newRow("emf anisotropic " + name) << mapped.finish(kEmfFrame) << size;
        }
    }
    void redRectangleLandsInPlace()
    {
        QFETCH(QByteArray, data);
        QFETCH(QSize, size);
        const QImage image = render(data, size);
        const double w = size.width(), h = size.height();
        const QRect red = QRectF(w * 0.25, h * 0.25, w * 0.5, h * 0.25).toRect();
        // One pixel of tolerance at the edges for rounding and smoothing.
        const QRect inner = red.adjusted(1, 1, -2, -2);
        const QRect outer = red.adjusted(-2, -2, 2, 2);
        for (QPoint p : {inner.topLeft(), inner.topRight(), inner.bottomLeft(), inner.bottomRight(), inner.center()})
            QCOMPARE(image.pixel(p), kRed);
        for (QPoint p : {QPoint(outer.left(), inner.center().y()), QPoint(outer.right(), inner.center().y()),
                         QPoint(inner.center().x(), outer.top()), QPoint(inner.center().x(), outer.bottom()),
                         QPoint(0, 0), QPoint(int(w) - 1, int(h) - 1)})
            QCOMPARE(image.pixel(p), kWhite);
        QVERIFY(red.contains(inkBox(image).adjusted(1, 1, -1, -1)));
    }

    // Drawing into a rectangle of a larger painter stays inside that rectangle.
    void drawsOnlyIntoTarget()
    {
        EmfBuilder emf = emfWithRedBrush();
        emf.ints(kEmfRectangle, {-5000, -5000, 5000, 5000}); // far beyond the frame
        const auto picture = MetafilePicture::fromData(emf.finish(kEmfFrame));
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        picture->draw(painter, QRect(50, 60, 40, 30));
        painter.end();
        QCOMPARE(inkBox(image), QRect(50, 60, 40, 30));

        // The caller's mapping and clipping still hold.
        image.fill(Qt::white);
        QPainter scaled(&image);
        scaled.scale(2, 2);
        scaled.setClipRect(0, 0, 40, 40);
        picture->draw(scaled, QRect(10, 10, 40, 30));
        scaled.end();
        QCOMPARE(inkBox(image), QRect(20, 20, 60, 60));
    }

    void worldTransformScales()
    {
        EmfBuilder emf = emfWithRedBrush();
        QByteArray xform;
        for (float v : {2.0f, 0.0f, 0.0f, 2.0f, 100.0f, 0.0f})
            test::putF32(xform, v);
        emf.record(kEmfSetWorldTransform, xform).ints(kEmfRectangle, {0, 0, 200, 100});
        // (0,0)-(200,100) scaled twice and moved right by 100: x 100..500, y 0..200.
        const QImage image = render(emf.finish(kEmfFrame), QSize(1000, 1000));
        const QRect ink = inkBox(image);
        QVERIFY2(qAbs(ink.left() - 100) <= 1 && qAbs(ink.right() - 500) <= 1 && ink.top() <= 1
                     && qAbs(ink.bottom() - 200) <= 1,
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
    }

    void clipPathClips()
    {
        EmfBuilder emf = emfWithRedBrush();
        emf.ints(kEmfBeginPath, {})
            .ints(kEmfRectangle, {100, 100, 300, 200})
            .ints(kEmfEndPath, {})
            .ints(kEmfSelectClipPath, {5}) // RGN_COPY
            .ints(kEmfRectangle, {0, 0, 1000, 1000});
        const QImage image = render(emf.finish(kEmfFrame), QSize(1000, 1000));
        const QRect ink = inkBox(image);
        QVERIFY(qAbs(ink.left() - 100) <= 1 && qAbs(ink.top() - 100) <= 1);
        QVERIFY(qAbs(ink.right() - 300) <= 1 && qAbs(ink.bottom() - 200) <= 1);
        QCOMPARE(image.pixel(200, 150), kRed);
    }

    // A WMF region of two scans selected as the clipping region.
    void regionClips()
    {
        WmfBuilder wmf;
        wmf.record(kWmfSetWindowExt, {1000, 1000})
            .record(0x06FF, {0, 6, 0, 0, 0, 2, 4, 100, 100, 900, 800, // CreateRegion: header, bounding box
                             2, 100, 200, 100, 300, 2,                // scan: y 100..200, x 100..300
                             2, 600, 800, 500, 900, 2})               // scan: y 600..800, x 500..900
            .record(kWmfCreateBrush, {0, WmfBuilder::lo(rgb(255, 0, 0)), WmfBuilder::hi(rgb(255, 0, 0)), 0})
            .record(kWmfCreatePen, {5, 0, 0, 0, 0})
            .record(0x012C, {0}) // SelectClipRegion
            .record(kWmfSelectObject, {1})
            .record(kWmfSelectObject, {2})
            .record(kWmfRectangle, {1000, 1000, 0, 0});
        const QImage image = render(wmf.finishPlaceable(QRect(0, 0, 1000, 1000), 1000), QSize(1000, 1000));
        QCOMPARE(image.pixel(200, 150), kRed);
        QCOMPARE(image.pixel(700, 700), kRed);
        QCOMPARE(image.pixel(400, 150), kWhite);
        QCOMPARE(image.pixel(200, 700), kWhite);
        QCOMPARE(inkBox(image), QRect(100, 100, 800, 700));
    }

    // A shape reaching far beyond the target is cut down to it before drawing, and the
    // cut keeps the fill: here two bands, one crossing the other, make one polygon whose
    // crossing is covered twice.
    void farSelfCrossingPolygonKeepsItsFill_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QRgb>("crossing");
        QTest::newRow("alternate") << 1 << kWhite;
        QTest::newRow("winding") << 2 << kRed;
    }
    void farSelfCrossingPolygonKeepsItsFill()
    {
        QFETCH(int, mode);
        QFETCH(QRgb, crossing);
        const qint32 far = 100'000'000;
        EmfBuilder emf = emfWithRedBrush();
        emf.ints(kEmfSetPolyFillMode, {mode})
            .ints(kEmfPolygon, {0, 0, 0, 0, 10,
                                -far, 100, far, 100, far, 300, -far, 300, -far, 100,  // across
                                200, -far, 400, -far, 400, far, 200, far, 200, -far}); // down
        const QImage image = render(emf.finish(kEmfFrame), QSize(1000, 1000));
        QCOMPARE(image.pixel(300, 200), crossing);
        QCOMPARE(image.pixel(100, 200), kRed);
        QCOMPARE(image.pixel(900, 200), kRed);
        QCOMPARE(image.pixel(300, 50), kRed);
        QCOMPARE(image.pixel(300, 900), kRed);
        QCOMPARE(image.pixel(100, 50), kWhite);
    }

    // Clip records add up: a thousand excluded stripes leave the strips between them.
    void manyClipRecordsCombine()
    {
        EmfBuilder emf = emfWithRedBrush();
        for (int x = 0; x < 1000; x += 2)
            emf.ints(kEmfExcludeClipRect, {x, 0, x + 1, 1000});
        emf.ints(kEmfRectangle, {-10, -10, 1010, 1010});
        const QImage image = render(emf.finish(kEmfFrame), QSize(1000, 1000));
        for (int x : {0, 2, 500, 998})
            QCOMPARE(image.pixel(x, 500), kWhite);
        for (int x : {1, 3, 501, 999})
            QCOMPARE(image.pixel(x, 500), kRed);
    }

    // Escapement turns the baseline counter-clockwise; any value the file holds is taken.
    void escapementTurnsText_data()
    {
        QTest::addColumn<qint32>("escapement");
        QTest::addColumn<bool>("upright");
        QTest::newRow("none") << 0 << false;
        QTest::newRow("quarter turn") << 900 << true;
        QTest::newRow("most negative") << std::numeric_limits<qint32>::min() << false;
    }
    void escapementTurnsText()
    {
        QFETCH(qint32, escapement);
        QFETCH(bool, upright);
        EmfBuilder emf;
        emf.record(kEmfCreateFont, font(60, escapement))
            .ints(kEmfSelectObject, {3})
            .ints(kEmfSetTextColor, {0})
            .ints(kEmfSetBkMode, {1})
            .record(kEmfExtTextOutW, extTextOut(QPoint(500, 500), QStringLiteral("HHHHHH")));
        const QRect ink = inkBox(render(emf.finish(kEmfFrame), QSize(1000, 1000)));
        QVERIFY(!ink.isEmpty());
        if (escapement == 0 || upright)
            QCOMPARE(ink.height() > ink.width(), upright);
    }

    // Text drawn large (on a printer, say) is filled as outlines, and lands where the same
    // text drawn small does, in proportion.
    void largeTextKeepsItsPlace()
    {
        EmfBuilder emf;
        emf.record(kEmfCreateFont, font(100))
            .ints(kEmfSelectObject, {3})
            .ints(kEmfSetTextColor, {0})
            .ints(kEmfSetBkMode, {1})
            .ints(kEmfSetTextAlign, {6 | 24}) // centred on the baseline
            .record(kEmfExtTextOutW, extTextOut(QPoint(500, 500), QStringLiteral("HHHH")));
        const QByteArray data = emf.finish(kEmfFrame);
        const QRect small = inkBox(render(data, QSize(1000, 1000)));
        const QRect large = inkBox(render(data, QSize(4000, 4000)));
        QVERIFY(!small.isEmpty());
        for (auto [a, b] : {std::pair{small.left(), large.left()}, {small.right(), large.right()},
                            {small.top(), large.top()}, {small.bottom(), large.bottom()}})
            QVERIFY2(qAbs(4 * a - b) <= 12, qPrintable(QStringLiteral("%1 against %2").arg(4 * a).arg(b)));
    }

    // A record whose point count runs past its end is skipped; the others still draw.
    void recordOverrunningItsSizeIsSkipped()
    {
        EmfBuilder emf = emfWithRedBrush();
        emf.ints(kEmfPolygon, {0, 0, 0, 0, 1000000, 0, 0, 1000, 0})
            .ints(kEmfRectangle, {250, 250, 750, 500});
        const QImage image = render(emf.finish(kEmfFrame), QSize(100, 100));
        QCOMPARE(image.pixel(50, 40), kRed);
        QCOMPARE(image.pixel(5, 5), kWhite);
    }

    // A 2 x 2 bitmap (stored bottom row first, blue-green-red) stretched over 80% of
    // the picture: each pixel becomes one quadrant.
    void bitmapLandsInPlace_data()
    {
        QByteArray dib;
        for (int v : {40, 2, 2})
            test::putU32(dib, quint32(v));
        test::putU16(dib, 1);
        test::putU16(dib, 24);
        for (int i = 0; i < 6; ++i)
            test::putU32(dib, 0);
        const QByteArray bits = QByteArray::fromHex("ff0000ffffff0000" // bottom: blue, white
                                                    "0000ff00ff000000"); // top: red, green
        QByteArray stretch;
        for (int v : {0, 0, 0, 0, 100, 100, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0x00CC0020, 800, 800})
            test::putU32(stretch, quint32(v));
        EmfBuilder emf;
        emf.record(81, stretch + dib + bits); // StretchDIBits
        QByteArray wmfParams;
        for (int v : {0x0020, 0x00CC, 0, 2, 2, 0, 0, 800, 800, 100, 100})
            test::putU16(wmfParams, quint16(v));
        WmfBuilder wmf;
        wmf.record(kWmfSetWindowExt, {1000, 1000}).raw(0x0F43, wmfParams + dib + bits); // StretchDIB
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("emf") << emf.finish(kEmfFrame);
        QTest::newRow("wmf") << wmf.finishPlaceable(QRect(0, 0, 1000, 1000), 1000);
    }
    void bitmapLandsInPlace()
    {
        QFETCH(QByteArray, data);
        const QImage image = render(data, QSize(500, 500));
        QCOMPARE(image.pixel(150, 150), kRed);
        QCOMPARE(image.pixel(350, 150), qRgb(0, 255, 0));
        QCOMPARE(image.pixel(150, 350), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(350, 350), kWhite);
        QCOMPARE(inkBox(image), QRect(50, 50, 400, 400));
    }

    // Text is placed by its alignment: the ink lies on the stated side of the
    // reference point.
    void textAtAlignmentPoint_data()
    {
        QTest::addColumn<int>("align");
        QTest::addColumn<bool>("enhanced");
        for (const bool enhanced : {true, false}) {
            const char *kind = enhanced ? "emf " : "wmf ";
            QTest::addRow("%sleft top", kind) << 0 << enhanced;
            QTest::addRow("%sright top", kind) << 2 << enhanced;
            QTest::addRow("%scenter top", kind) << 6 << enhanced;
            QTest::addRow("%sleft bottom", kind) << 8 << enhanced;
            QTest::addRow("%scenter baseline", kind) << 6 + 24 << enhanced;
        }
    }
    void textAtAlignmentPoint()
    {
        QFETCH(int, align);
        QFETCH(bool, enhanced);
        const QPoint ref(500, 500);
        QByteArray data;
        if (enhanced) {
            EmfBuilder emf;
            emf.record(kEmfCreateFont, font(100))
                .ints(kEmfSelectObject, {3})
                .ints(kEmfSetTextAlign, {align})
                .ints(kEmfSetTextColor, {0})
                .ints(kEmfSetBkMode, {1}) // transparent
                .record(kEmfExtTextOutW, extTextOut(ref, QStringLiteral("HHHH")));
            data = emf.finish(kEmfFrame);
        } else {
            QByteArray logFont;
            for (int v : {-100, 0, 0, 0, 700, 0, 0, 0, 0})
                test::putU16(logFont, quint16(v));
            logFont.append("DejaVu Sans");
            logFont.append(QByteArray(32 - 11, '\0'));
            WmfBuilder wmf;
            wmf.record(kWmfSetWindowExt, {1000, 1000})
                .raw(0x02FB, logFont) // CreateFontIndirect
                .record(kWmfSelectObject, {0})
                .record(0x012E, {align}) // SetTextAlign
                .record(0x0102, {1})     // SetBkMode: transparent
                .raw(0x0521, QByteArray::fromHex("0400") + "HHHH" + QByteArray::fromHex("f401f401")); // TextOut
            data = wmf.finishPlaceable(QRect(0, 0, 1000, 1000), 1000);
        }
        const QImage image = render(data, QSize(1000, 1000));
        const QRect ink = inkBox(image);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(ink.width() > 150 && ink.height() > 50 && ink.height() < 110,
                 qPrintable(QStringLiteral("%1x%2").arg(ink.width()).arg(ink.height())));
        const int slack = 15;
        switch (align & 6) {
        case 0: QVERIFY(ink.left() >= ref.x() && ink.left() - ref.x() < slack); break;
        case 2: QVERIFY(ink.right() <= ref.x() && ref.x() - ink.right() < slack); break;
        case 6: QVERIFY(qAbs(ink.center().x() - ref.x()) < slack); break;
        }
        switch (align & 24) {
        case 0: QVERIFY(ink.top() >= ref.y() && ink.top() - ref.y() < 40); break;
        case 8: QVERIFY(ink.bottom() <= ref.y() && ref.y() - ink.bottom() < 40); break;
        case 24: QVERIFY(qAbs(ink.bottom() - ref.y()) <= 2); break; // capitals sit on the baseline
        }
    }

    void clipboardCarriesDataAndImage()
    {
        EmfBuilder emf = emfWithRedBrush();
        emf.ints(kEmfRectangle, {250, 250, 750, 500});
        const auto enhanced = MetafilePicture::fromData(emf.finish(kEmfFrame));
        const auto mime = metafileMimeData(*enhanced, QSize(120, 80));
        QCOMPARE(mime->data(QStringLiteral("image/x-emf")), enhanced->data());
        QCOMPARE(mime->data(QStringLiteral("image/emf")), enhanced->data());
        const QImage image = qvariant_cast<QImage>(mime->imageData());
        QCOMPARE(image.size(), QSize(120, 80));
        QCOMPARE(image.pixel(60, 30) & 0xFFFFFF, kRed & 0xFFFFFF);

        const auto plain = MetafilePicture::fromData(redRectangleWmf(true));
        const auto wmfMime = metafileMimeData(*plain);
        QCOMPARE(wmfMime->data(QStringLiteral("image/x-wmf")), plain->data());
        QVERIFY(!wmfMime->hasFormat(QStringLiteral("image/x-emf")));
        QCOMPARE(qvariant_cast<QImage>(wmfMime->imageData()).size(), QSize(96, 96));
    }
};

QTEST_MAIN(TestMetafile)
#include "test_metafile.moc"
