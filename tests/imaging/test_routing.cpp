// The routing key and table: which holder each operation loads a file into.

#include "imaging/imageextension.h"
#include "imaging/rasterload.h"

#include <QTest>

using namespace pelorin;

class RoutingTest : public QObject
{
    Q_OBJECT

private slots:
    void imageExtension_data();
    void imageExtension();
    void routes_data();
    void routes();
};

void RoutingTest::imageExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("reader");
    QTest::newRow("upper case") << "PHOTO.JPG" << ".jpg" << int(RasterReader::Jpeg);
    QTest::newRow("last dot counts") << "a.b.Tiff" << ".tiff" << int(RasterReader::Tiff);
    QTest::newRow("jpeg is no reader's") << "a.jpeg" << ".jpeg" << int(RasterReader::None);
    QTest::newRow("bmp with tail") << "a.bmpx" << ".bmpx" << int(RasterReader::Bmp);
    QTest::newRow("icon") << "x.ico" << ".ico" << int(RasterReader::SystemPicture);
    QTest::newRow("enhanced metafile") << "x.emf" << ".emf" << int(RasterReader::None);
    QTest::newRow("none") << "README" << "" << int(RasterReader::None);
    QTest::newRow("dot in directory") << "dir.bmp/file" << "" << int(RasterReader::None);
    QTest::newRow("dot before colon") << "a.bmp:stream" << "" << int(RasterReader::None);
    QTest::newRow("trailing dot") << "name." << "." << int(RasterReader::None);
}

void RoutingTest::imageExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(int, reader);
    QCOMPARE(ImageExtension(name), extension);
    QCOMPARE(int(rasterReaderFor(name)), reader);
}

void RoutingTest::routes_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("holder");
    QTest::addColumn<bool>("load");
    QTest::addColumn<bool>("rendered");
    QTest::addColumn<bool>("throughComponent");
    using O = Operation;
    using H = Holder;
    auto row = [](const char *tag, O op, const char *name, H holder, bool load, bool rendered, bool through) {
        QTest::newRow(tag) << int(op) << QString::fromLatin1(name) << int(holder) << load << rendered << through;
    };
    row("thumbnail metafile", O::Thumbnail, "a.WMF", H::WorkPicture, true, false, false);
    row("thumbnail icon", O::Thumbnail, "a.ico", H::WorkComponent, true, false, false);
    row("thumbnail raster", O::Thumbnail, "a.png", H::WorkComponent, true, false, false);
    row("view metafile", O::View, "a.emf", H::MetafilePicture, true, false, false);
    row("view icon", O::View, "a.ico", H::ViewerComponent, true, false, false);
    row("print icon", O::PrintOne, "a.ico", H::MetafilePicture, true, false, false);
    row("print raster", O::PrintOne, "a.gif", H::ViewerComponent, true, false, false);
    row("sheet metafile", O::ThumbnailSheet, "a.wmf", H::WorkPicture, true, true, false);
    row("sheet icon", O::ThumbnailSheet, "a.ico", H::WorkPicture, true, true, false);
    row("sheet raster", O::ThumbnailSheet, "a.pcx", H::WorkComponent, true, false, false);
    row("clipboard metafile", O::Clipboard, "a.emf", H::MetafilePicture, true, false, false);
    row("clipboard icon", O::Clipboard, "a.ico", H::ViewerComponent, false, false, false);
    row("clipboard raster", O::Clipboard, "a.tif", H::ViewerComponent, true, false, false);
    row("convert metafile", O::Convert, "a.wmf", H::WorkPicture, true, true, true);
    row("convert icon", O::Convert, "a.ico", H::WorkPicture, true, true, true);
    row("convert raster", O::Convert, "a.jpeg", H::ViewerComponent, true, false, false);
}

void RoutingTest::routes()
{
    QFETCH(int, operation);
    QFETCH(QString, name);
    QFETCH(int, holder);
    QFETCH(bool, load);
    QFETCH(bool, rendered);
    QFETCH(bool, throughComponent);
    const Route route = routeFor(Operation(operation), name);
    QCOMPARE(int(route.holder), holder);
    QCOMPARE(route.load, load);
    QCOMPARE(route.rendered, rendered);
    QCOMPARE(route.throughComponent, throughComponent);
}

QTEST_GUILESS_MAIN(RoutingTest)
#include "test_routing.moc"
