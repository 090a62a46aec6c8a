#include "browse/imagelistview.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

using namespace pelorin;

namespace {

QStringList captions(const ImageListView &list)
{
    QStringList result;
    for (int row = 0; row < list.count(); ++row)
        result << list.caption(row);
    return result;
}

QImage tile(QColor colour, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class TestImageListView : public QObject
{
    Q_OBJECT
private slots:
    void sortedListKeepsImageIndexes()
    {
        ImageListView list;
        list.addItem(QStringLiteral("b.bmp"), 0);
        list.addItem(QStringLiteral("B.bmp"), 1);
        list.addItem(QStringLiteral("a.bmp"), 2);
        QCOMPARE(captions(list), (QStringList{QStringLiteral("b.bmp"), QStringLiteral("B.bmp"), QStringLiteral("a.bmp")}));

        list.setSorted(true);
        QCOMPARE(captions(list), (QStringList{QStringLiteral("a.bmp"), QStringLiteral("b.bmp"), QStringLiteral("B.bmp")}));
        QCOMPARE(list.imageIndex(0), 2);
        QCOMPARE(list.imageIndex(2), 1);

        // New items and changed captions go to their place.
        list.addItem(QStringLiteral("aa.bmp"), 3);
        QCOMPARE(list.caption(1), QStringLiteral("aa.bmp"));
        list.setCaption(0, QStringLiteral("z.bmp"));
        QCOMPARE(list.caption(list.count() - 1), QStringLiteral("z.bmp"));
        QCOMPARE(list.imageIndex(list.count() - 1), 2);

        list.setSorted(false);
        list.addItem(QStringLiteral("0.bmp"), 4);
        QCOMPARE(list.caption(list.count() - 1), QStringLiteral("0.bmp"));
    }

    void reportStyleColumnsAndSubItems()
    {
        ImageListView list;
        list.setViewStyle(ImageListView::Style::Report);
        auto *report = list.findChild<QTreeView *>(QStringLiteral("ListView1Report"));
        QVERIFY(report);
        const QAbstractItemModel *model = report->model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("File"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Size"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Date"));
        QCOMPARE(report->columnWidth(0), 150);
        QCOMPARE(report->columnWidth(1), 90);
        QCOMPARE(report->columnWidth(2), 120);

        list.addItem(QStringLiteral("b.bmp"), 0);
        list.addItem(QStringLiteral("a.bmp"), 1);
        list.setSubItems(0, QStringLiteral("2K"), QStringLiteral("1/2/2020"));
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("2K"));
        QCOMPARE(list.subItems(0), (QStringList{QStringLiteral("2K"), QStringLiteral("1/2/2020")}));

        // A column click is reported and changes nothing.
        QSignalSpy clicks(&list, &ImageListView::columnClicked);
        emit report->header()->sectionClicked(0);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(captions(list), (QStringList{QStringLiteral("b.bmp"), QStringLiteral("a.bmp")}));
    }

    void decorationsComeFromTheStylesImageList()
    {
        ImageListView list;
        list.largeImages().setSize(70, 70);
        QCOMPARE(list.largeImages().addMasked(tile(Qt::red, 70)), 0);
        QCOMPARE(list.smallImages().addMasked(tile(Qt::blue, 50)), 0);
        list.addItem(QStringLiteral("a.bmp"), 0);
        list.addItem(QStringLiteral("b.bmp"), 1); // no image for it: shows none
        auto *report = list.findChild<QTreeView *>(QStringLiteral("ListView1Report"));
        const QAbstractItemModel *model = report->model();
        QCOMPARE(model->index(0, 0).data(Qt::DecorationRole).value<QPixmap>().size(), QSize(70, 70));
        QVERIFY(model->index(1, 0).data(Qt::DecorationRole).isNull());
        list.setViewStyle(ImageListView::Style::Report);
        QCOMPARE(model->index(0, 0).data(Qt::DecorationRole).value<QPixmap>().size(), QSize(50, 50));
    }

    void whitePixelsAreMaskedAndResizingEmpties()
    {
        ImageList images(2, 1);
        QImage image(2, 1, QImage::Format_RGB32);
        image.setPixel(0, 0, qRgb(255, 255, 255));
        image.setPixel(1, 0, qRgb(254, 255, 255));
        images.addMasked(image);
        const QImage stored = images.pixmap(0).toImage();
        QCOMPARE(qAlpha(stored.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(stored.pixel(1, 0)), 255);
        images.setSize(2, 1);
        QCOMPARE(images.count(), 1);
        images.setSize(3, 1);
        QCOMPARE(images.count(), 0);
    }

    void selectionIsSharedAndEditingOnlyReports()
    {
        ImageListView list;
        for (const char *name : {"a.bmp", "b.bmp", "c.bmp"})
            list.addItem(QString::fromLatin1(name), 0);
        list.selectAll();
        QCOMPARE(list.selectedRows(), (QList<int>{0, 1, 2}));
        list.setViewStyle(ImageListView::Style::Report);
        QCOMPARE(list.selectedRows(), (QList<int>{0, 1, 2}));
        list.setCurrentRow(1);
        QCOMPARE(list.selectedRows(), QList<int>{1});

        QSignalSpy edits(&list, &ImageListView::captionEdited);
        auto *report = list.findChild<QTreeView *>(QStringLiteral("ListView1Report"));
        QVERIFY(report->model()->setData(report->model()->index(1, 0), QStringLiteral("new.bmp")));
        QCOMPARE(edits.size(), 1);
        QCOMPARE(edits.first().at(0).toInt(), 1);
        QCOMPARE(edits.first().at(1).toString(), QStringLiteral("new.bmp"));
        QCOMPARE(list.caption(1), QStringLiteral("b.bmp"));

        list.clearItems();
        list.selectAll();
        QVERIFY(list.selectedRows().isEmpty());
    }
};

QTEST_MAIN(TestImageListView)
#include "test_imagelistview.moc"
