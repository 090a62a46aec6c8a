// The thumbnails of real listings in the main window: the tiles in both styles, their
// pairing with the items through sorting and Stop, the Size and Date columns, No Thumbs
// and the thumbnail size command.

#include "browse/imagelistview.h"
#include "imaging/imageholders.h"
#include "shell/appstate.h"
#include "shell/mainform.h"
#include "scripteduser.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImageWriter>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace pelorin;

namespace {

QRgb colourOf(int i)
{
    return QColor::fromHsv((i * 37) % 360, 255, 128 + (i * 11) % 128).rgb();
}

void writePng(const QString &path, QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "png"));
}

QImage tileOf(ImageListView &list, int row)
{
    ImageList &images = list.viewStyle() == ImageListView::Style::Report ? list.smallImages() : list.largeImages();
    return images.pixmap(list.imageIndex(row)).toImage().convertToFormat(QImage::Format_ARGB32);
}

QStringList captions(ImageListView &list)
{
    QStringList out;
    for (int row = 0; row < list.count(); ++row)
        out << list.caption(row);
    return out;
}

} // namespace

class TestThumbnailListing : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::ScriptedUser> mUser;
    std::unique_ptr<TMainForm> mForm;
    std::unique_ptr<QTemporaryDir> mDir;
    QTemporaryDir mConfig;

    void list(const QString &filter)
    {
        appState().CurrentDir = mDir->path() + QLatin1Char('/');
        appState().ExtFilter = filter;
        mForm->UpdateListbox();
    }
    void setStyle(ImageListView::Style style)
    {
        QToolButton *button = style == ImageListView::Style::Report ? mForm->ListButton : mForm->IcoButton;
        button->setChecked(true);
        mForm->ListView1->setViewStyle(style);
    }

private slots:
    // Settings of a private folder: what other tests store cannot reach these listings.
    void initTestCase()
    {
        QVERIFY(mConfig.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(mConfig.path()));
    }

    void init()
    {
        mUser = std::make_unique<test::ScriptedUser>();
        mForm = std::make_unique<TMainForm>();
        mDir = std::make_unique<QTemporaryDir>();
        appState().ThumbWidth = 70;
        appState().ThumbHeight = 70;
        mForm->SetImageSize();
        mForm->NoThumbs1->setChecked(false);
        mForm->NoStop1->setChecked(false);
        mForm->ListView1->setSorted(false);
        mForm->Sorted1->setChecked(false);
        setStyle(ImageListView::Style::Icon);
    }
    void cleanup()
    {
        mForm.reset();
        mDir.reset();
        mUser.reset();
    }

    // Icon style: a wide picture fills its square tile, a white one is fully
    // transparent; report style: 50 x 50 tiles, an unreadable metafile shows "Error" in
    // its own row and the rows after it keep their own pictures.
    void tilesInBothStyles()
    {
        writePng(mDir->filePath(QStringLiteral("a_wide.png")), QSize(200, 100), 0xff2050a0);
        writePng(mDir->filePath(QStringLiteral("b_white.png")), QSize(30, 30), 0xffffffff);
        list(QStringLiteral("png"));
        ImageListView &view = *mForm->ListView1;
        QCOMPARE(view.count(), 2);
        QCOMPARE(view.largeImages().count(), 2);
        for (int row = 0; row < 2; ++row) {
            const QImage tile = tileOf(view, row);
            QCOMPARE(tile.size(), QSize(70, 70));
            const bool white = view.caption(row) == QLatin1String("b_white.png");
            for (const QPoint p : {QPoint(0, 0), QPoint(69, 0), QPoint(35, 35), QPoint(69, 69)})
                QCOMPARE(tile.pixel(p), white ? QRgb(0) : QRgb(0xff2050a0));
        }

        QFile broken(mDir->filePath(QStringLiteral("c_broken.wmf")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray(64, '\x7f'));
        broken.close();
        writePng(mDir->filePath(QStringLiteral("d_after.png")), QSize(80, 60), 0xff00a000);
        mForm->ListView1->setSorted(true);
        setStyle(ImageListView::Style::Report);
        list(QStringLiteral("all"));
        QCOMPARE(captions(view), (QStringList{QStringLiteral("a_wide.png"), QStringLiteral("b_white.png"),
                                              QStringLiteral("c_broken.wmf"), QStringLiteral("d_after.png")}));
        QCOMPARE(view.smallImages().count(), 4);
        QCOMPARE(tileOf(view, 0).size(), QSize(50, 50));
        QCOMPARE(tileOf(view, 0).pixel(49, 49), QRgb(0xff2050a0));
        const QImage error = tileOf(view, 2);
        QCOMPARE(error.pixel(49, 49), QRgb(0)); // white, so transparent, away from the word
        bool inked = false;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 30; ++x)
                inked |= error.pixel(x, y) == 0xff000000;
        QVERIFY(inked);
        QCOMPARE(tileOf(view, 3).pixel(25, 25), QRgb(0xff00a000));
        QVERIFY(mUser->shown.isEmpty());
        // Report style fills the columns.
        QVERIFY(view.subItems(3).value(0).endsWith(QLatin1String(" Bytes")));
        QVERIFY(!view.subItems(3).value(1).isEmpty());
    }

    void noThumbsInBothStyles()
    {
        writePng(mDir->filePath(QStringLiteral("one.png")), QSize(10, 10), 0xff102030);
        mForm->NoThumbs1->setChecked(true);
        for (const auto style : {ImageListView::Style::Icon, ImageListView::Style::Report}) {
            setStyle(style);
            list(QStringLiteral("png"));
            QCOMPARE(mForm->ListView1->count(), 1);
            QCOMPARE(mForm->ListView1->largeImages().count(), 0);
            QCOMPARE(mForm->ListView1->smallImages().count(), 0);
        }
    }

    // Stop during a listing of 100 files: 20 items remain, each with its own file's
    // picture although later files were being decoded ahead; the next listing starts
    // afresh and pairs all its pictures right.
    void stopKeepsThumbnailsWithTheirNames()
    {
        for (int i = 0; i < 100; ++i)
            writePng(mDir->filePath(QStringLiteral("f%1.png").arg(i, 3, 10, QLatin1Char('0'))), QSize(16 + i, 12), colourOf(i));
        QTimer stopper;
        bool clicked = false;
        connect(&stopper, &QTimer::timeout, this, [&] {
            if (!clicked && mForm->ListView1->count() > 0 && mForm->StopButton->isEnabled()) {
                clicked = true;
                mForm->StopButton->click();
            }
        });
        stopper.start(0);
        list(QStringLiteral("png"));
        stopper.stop();
        QVERIFY(clicked);
        ImageListView &view = *mForm->ListView1;
        QCOMPARE(view.count(), 20);
        QCOMPARE(view.largeImages().count(), 20);
        QCOMPARE(mForm->statusText(1), QStringLiteral("Finished"));
        QCOMPARE(mForm->HeaderControl1->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("100 Files"));
        const auto checkPairs = [&view] {
            for (int row = 0; row < view.count(); ++row) {
                const int i = view.caption(row).mid(1, 3).toInt();
                QCOMPARE(tileOf(view, row).pixel(35, 35), colourOf(i));
            }
        };
        checkPairs();

        // Sorted on sorts at once without listing again: the same pictures stay.
        const qint64 firstKey = view.largeImages().pixmap(0).cacheKey();
        mForm->Sorted1Click();
        QCOMPARE(mForm->statusText(1), QStringLiteral("Image View Sorted"));
        QCOMPARE(view.largeImages().pixmap(0).cacheKey(), firstKey);
        checkPairs();

        list(QStringLiteral("png"));
        QCOMPARE(view.count(), 100);
        QCOMPARE(view.largeImages().count(), 100);
        checkPairs();
    }

    // Captions differing only in case sort lower case first; Sorted off lists again in
    // the directory's own order.
    void sortingByCaption()
    {
        const QStringList names{QStringLiteral("B.png"), QStringLiteral("a.png"), QStringLiteral("b.png"),
                                QStringLiteral("A.png")};
        for (int i = 0; i < names.size(); ++i)
            writePng(mDir->filePath(names.at(i)), QSize(8, 8), colourOf(i));
        ImageListView &view = *mForm->ListView1;
        list(QStringLiteral("png"));
        const QStringList directoryOrder = captions(view);
        mForm->Sorted1Click();
        QCOMPARE(captions(view), (QStringList{QStringLiteral("a.png"), QStringLiteral("A.png"), QStringLiteral("b.png"),
                                              QStringLiteral("B.png")}));
        for (int row = 0; row < view.count(); ++row)
            QCOMPARE(tileOf(view, row).pixel(4, 4), colourOf(int(names.indexOf(view.caption(row)))));
        mForm->Sorted1Click();
        QVERIFY(!mForm->Sorted1->isChecked());
        QCOMPARE(captions(view), directoryOrder);
    }

    // A file gone before its columns are filled leaves them empty; the others are filled.
    void vanishedFileHasEmptyColumns()
    {
        writePng(mDir->filePath(QStringLiteral("stays.png")), QSize(8, 8), 0xff000000);
        writePng(mDir->filePath(QStringLiteral("goes.png")), QSize(8, 8), 0xff000000);
        setStyle(ImageListView::Style::Report);
        list(QStringLiteral("png"));
        QVERIFY(QFile::remove(mDir->filePath(QStringLiteral("goes.png"))));
        mForm->SetListView();
        ImageListView &view = *mForm->ListView1;
        for (int row = 0; row < view.count(); ++row) {
            const QStringList sub = view.subItems(row);
            if (view.caption(row) == QLatin1String("goes.png"))
                QVERIFY(sub.value(0).isEmpty() && sub.value(1).isEmpty());
            else
                QVERIFY(sub.value(0).endsWith(QLatin1String(" Bytes")) && !sub.value(1).isEmpty());
        }
    }

    // The size command lists again in every case: with the new size when it is valid,
    // with the old one after the range message.
    void thumbSizeCommand()
    {
        writePng(mDir->filePath(QStringLiteral("p.png")), QSize(10, 10), 0xff405060);
        list(QStringLiteral("png"));
        const auto enter = [this](const QString &width, const QString &height) {
            mUser->onDialog(QStringLiteral("ThumbSizeForm"), [=](QDialog &d) {
                d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(width);
                d.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(height);
                d.findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
            });
            mForm->ThumbSize1Click();
        };
        enter(QStringLiteral("120"), QStringLiteral("20"));
        ImageListView &view = *mForm->ListView1;
        QCOMPARE(tileOf(view, 0).size(), QSize(120, 20));
        QCOMPARE(imageHolders().workComponent.size(), QSize(120, 20));
        QCOMPARE(mForm->statusText(1), QStringLiteral("Finished"));
        enter(QStringLiteral("19"), QStringLiteral("50"));
        QCOMPARE(mUser->texts(), QStringList{QStringLiteral("Image Width Value Must Be In Range 20 To 150")});
        QCOMPARE(view.largeImages().count(), 1);
        QCOMPARE(tileOf(view, 0).size(), QSize(120, 20));
    }
};

QTEST_MAIN(TestThumbnailListing)
#include "test_thumbnaillisting.moc"
