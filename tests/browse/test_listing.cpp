#include "browse/imagelistview.h"
#include "mainformfixture.h"
#include "platform/error.h"
#include "platform/workdir.h"
#include "scripteduser.h"
#include "shell/appstate.h"
#include "shell/dirtree.h"
#include "shell/mainform.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace pelorin;

namespace {

QStringList captions(const ImageListView &list)
{
    QStringList result;
    for (int row = 0; row < list.count(); ++row)
        result << list.caption(row);
    return result;
}

QString headerCount(const TMainForm &form)
{
    return form.HeaderControl1->model()->headerData(1, Qt::Horizontal).toString();
}

} // namespace

class TestListing : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::ScriptedUser> mUser;
    std::unique_ptr<TMainForm> mForm;
    std::unique_ptr<QTemporaryDir> mDir;
    QString mStartDir;

    QString dir() const { return mDir->path() + QLatin1Char('/'); }
    // The user picks the temporary directory in the tree.
    void openDir() { mForm->DirTree1->setDirectory(mDir->path()); }

    // Names of the command bar's buttons that are enabled.
    QStringList enabledCommandButtons() const
    {
        QStringList names;
        for (QToolButton *b : mForm->Panel2->findChildren<QToolButton *>())
            if (b->isEnabled())
                names << b->objectName();
        return names;
    }

private slots:
    void initTestCase() { mStartDir = workingDirectory(); }

    void init()
    {
        test::isolateSettings();
        setWorkingDirectory(mStartDir);
        appState() = AppState{};
        mUser = std::make_unique<test::ScriptedUser>();
        mForm = std::make_unique<TMainForm>();
        // The files made here are not images; thumbnails have their own tests.
        mForm->NoThumbs1->setChecked(true);
        mDir = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        mForm.reset();
        mUser.reset();
        setWorkingDirectory(mStartDir);
        mDir.reset();
    }

    void emptyDirectoryNeverGetsBusy()
    {
        test::StatusLog log(*mForm);
        QObject context;
        bool everBusy = false;
        connect(mForm->StatusBar1, &PanelStatusBar::panelTextChanged, &context,
                [&] { everBusy = everBusy || mForm->StopButton->isEnabled() || !mForm->DirTree1->isEnabled(); });
        openDir();
        QCOMPARE(log.texts, (QStringList{QStringLiteral("Searching For Files"), QStringLiteral("Creating Thumbnails"),
                                         QStringLiteral("No Matching Files Found")}));
        QVERIFY(!everBusy);
        QCOMPARE(headerCount(*mForm), QStringLiteral("0 Files"));
        QCOMPARE(appState().CurrentDir, dir());
        QCOMPARE(mForm->statusText(0), QStringLiteral(" ") + dir());
        QCOMPARE(workingDirectory(), mDir->path());
        QVERIFY(!appState().FileNames.has_value());
    }

    void oneFileAndTheTypeFilter()
    {
        test::makeFile(mDir->path(), QStringLiteral("A.BMP"));
        test::makeFile(mDir->path(), QStringLiteral("b.gif"));
        QVERIFY(QDir(mDir->path()).mkdir(QStringLiteral("x.bmp")));
        test::makeFile(mDir->path(), QStringLiteral(".hidden.gif"));
        openDir();
        QCOMPARE(captions(*mForm->ListView1), QStringList{QStringLiteral("A.BMP")});
        QCOMPARE(headerCount(*mForm), QStringLiteral("1 File"));
        QCOMPARE(appState().FileCount, 1);
        QCOMPARE(appState().ExtFilter, QStringLiteral("bmp"));
        QCOMPARE(mForm->statusText(1), QStringLiteral("Finished"));

        mForm->GifButton->click();
        QVERIFY(mForm->Gif1->isChecked());
        QVERIFY(mForm->GifButton->isChecked() && !mForm->BmpButton->isChecked());
        QCOMPARE(appState().ExtFilter, QStringLiteral("gif"));
        QCOMPARE(headerCount(*mForm), QStringLiteral("2 Files"));
        QCOMPARE(mForm->ListView1->count(), 2);

        mForm->Png1->trigger();
        QVERIFY(mForm->PngButton->isChecked());
        QCOMPARE(headerCount(*mForm), QStringLiteral("0 Files"));
        QCOMPARE(mForm->statusText(1), QStringLiteral("No Matching Files Found"));
    }

    void thumbnailsOnlyWithoutNoThumbs()
    {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        for (const char *name : {"a.bmp", "b.bmp", "c.bmp"})
            QVERIFY(image.save(mDir->path() + QLatin1Char('/') + QString::fromLatin1(name), "BMP"));
        openDir();
        QCOMPARE(mForm->ListView1->count(), 3);
        QCOMPARE(mForm->ListView1->largeImages().count(), 0);

        mForm->NoThumbs1->setChecked(false);
        mForm->Refresh1->trigger();
        QCOMPARE(mForm->ListView1->largeImages().count(), 3);
        QCOMPARE(mForm->ListView1->smallImages().count(), 0);

        // Report style makes the small thumbnails and fills the Size and Date columns.
        mForm->List1->trigger();
        QCOMPARE(mForm->ListView1->smallImages().count(), 3);
        QCOMPARE(mForm->ListView1->largeImages().count(), 0);
        QCOMPARE(mForm->ListView1->subItems(0).size(), 2);
        QVERIFY(mUser->shown.isEmpty());
    }

    void stopDuringTheFirstTwentyItems()
    {
        for (int i = 0; i < 100; ++i)
            test::makeFile(mDir->path(), QStringLiteral("f%1.bmp").arg(i, 3, 10, QLatin1Char('0')));
        test::StatusLog log(*mForm);
        QObject context;
        QStringList enabledDuringLoop;
        bool treeEnabledDuringLoop = true;
        bool menusEnabledDuringLoop = true;
        // A scripted moment inside the loop: at the second item the user clicks Stop; the
        // click waits in the queue until the loop next lets messages run.
        connect(mForm->ProgressBar1, &QProgressBar::valueChanged, &context, [&](int value) {
            if (value == 0 || !enabledDuringLoop.isEmpty())
                return;
            enabledDuringLoop = enabledCommandButtons();
            treeEnabledDuringLoop = mForm->DirTree1->isEnabled() || mForm->ListView1->isEnabled() || mForm->Panel1->isEnabled();
            menusEnabledDuringLoop = mForm->FileMenu->menuAction()->isEnabled();
            QMetaObject::invokeMethod(mForm->StopButton, &QToolButton::click, Qt::QueuedConnection);
        });
        openDir();
        QCOMPARE(enabledDuringLoop, QStringList{QStringLiteral("StopButton")});
        QVERIFY(!treeEnabledDuringLoop);
        QVERIFY(!menusEnabledDuringLoop);
        QCOMPARE(mForm->ListView1->count(), 20);
        QCOMPARE(headerCount(*mForm), QStringLiteral("100 Files"));
        QCOMPARE(appState().FileCount, 100);
        QVERIFY(!appState().StopFlag);
        QCOMPARE(log.texts.mid(log.texts.size() - 2),
                 (QStringList{QStringLiteral("Process Halted"), QStringLiteral("Finished")}));
        QVERIFY(!mForm->StopButton->isEnabled());
        QVERIFY(mForm->ExitButton->isEnabled() && mForm->DirTree1->isEnabled());
        QCOMPARE(mForm->ProgressBar1->value(), 0);
    }

    void noStopDisablesTheWholeWindowAndIgnoresStop()
    {
        for (int i = 0; i < 30; ++i)
            test::makeFile(mDir->path(), QStringLiteral("f%1.bmp").arg(i));
        mForm->NoStop1->trigger();
        QVERIFY(mForm->NoStop1->isChecked());
        QObject context;
        bool windowDisabled = false;
        bool hourglass = false;
        connect(mForm->ProgressBar1, &QProgressBar::valueChanged, &context, [&](int value) {
            if (value == 0 || windowDisabled)
                return;
            windowDisabled = !mForm->isEnabled() && !mForm->StopButton->isEnabled();
            hourglass = mForm->cursor().shape() == Qt::WaitCursor;
            appState().StopFlag = true; // as if Stop had been clicked: No Stop does not look
        });
        openDir();
        QVERIFY(windowDisabled);
        QVERIFY(hourglass);
        QCOMPARE(mForm->ListView1->count(), 30);
        QVERIFY(mForm->isEnabled());
        QCOMPARE(mForm->cursor().shape(), Qt::ArrowCursor);
        appState().StopFlag = false;
    }

    void stopLockedKeepsStopDisabled()
    {
        for (int i = 0; i < 3; ++i)
            test::makeFile(mDir->path(), QStringLiteral("f%1.bmp").arg(i));
        appState().StopLocked = true;
        QObject context;
        bool stopEnabled = true;
        connect(mForm->ProgressBar1, &QProgressBar::valueChanged, &context, [&](int value) {
            if (value != 0)
                stopEnabled = mForm->StopButton->isEnabled();
        });
        openDir();
        QVERIFY(!stopEnabled);
        QCOMPARE(mForm->Panel2->cursor().shape(), Qt::ArrowCursor);
        appState().StopLocked = false;
    }

    void thumbSizeButtonFollowsTheStyleAfterAListing()
    {
        test::makeFile(mDir->path(), QStringLiteral("a.bmp"));
        openDir();
        QVERIFY(mForm->ThumbSizeButton->isEnabled());
        mForm->ListButton->click();
        QVERIFY(mForm->List1->isChecked());
        QCOMPARE(mForm->ListView1->viewStyle(), ImageListView::Style::Report);
        QVERIFY(!mForm->ThumbSizeButton->isEnabled());
        QVERIFY(!mForm->ThumbSize1->isEnabled());
        QVERIFY(mForm->ListButton->isChecked() && !mForm->IcoButton->isChecked());
        mForm->Refresh1->trigger();
        QVERIFY(!mForm->ThumbSizeButton->isEnabled());
        mForm->List1->trigger();
        QCOMPARE(mForm->ListView1->viewStyle(), ImageListView::Style::Icon);
        QVERIFY(mForm->ThumbSizeButton->isEnabled() && mForm->ThumbSize1->isEnabled());
        QVERIFY(mForm->IcoButton->isChecked());
    }

    void allTypesInTheirOrder()
    {
        const QStringList names{QStringLiteral("a.dib"), QStringLiteral("b.emf"), QStringLiteral("c.wmf"),
                                QStringLiteral("d.tif"), QStringLiteral("e.png"), QStringLiteral("f.pcx"),
                                QStringLiteral("g.jpg"), QStringLiteral("h.ico"), QStringLiteral("i.gif"),
                                QStringLiteral("j.bmp"), QStringLiteral("k.txt")};
        for (const QString &name : names)
            test::makeFile(mDir->path(), name);
        QVERIFY(!mForm->Sorted1->isChecked()); // unsorted: the listing's own order
        openDir();
        mForm->AllButton->click();
        QCOMPARE(captions(*mForm->ListView1),
                 (QStringList{QStringLiteral("j.bmp"), QStringLiteral("i.gif"), QStringLiteral("h.ico"),
                              QStringLiteral("g.jpg"), QStringLiteral("f.pcx"), QStringLiteral("e.png"),
                              QStringLiteral("d.tif"), QStringLiteral("c.wmf"), QStringLiteral("b.emf"),
                              QStringLiteral("a.dib")}));
        QCOMPARE(mForm->ListView1->imageIndex(0), 0);

        // Sorting on sorts at once without listing again; each item keeps its image index.
        test::StatusLog log(*mForm);
        mForm->Sorted1->trigger();
        QCOMPARE(log.texts, QStringList{QStringLiteral("Image View Sorted")});
        QCOMPARE(mForm->ListView1->caption(0), QStringLiteral("a.dib"));
        QCOMPARE(mForm->ListView1->imageIndex(0), 9);

        // Sorting off lists again, back in the listing's order.
        mForm->Sorted1->trigger();
        QVERIFY(!mForm->Sorted1->isChecked());
        QCOMPARE(log.texts.last(), QStringLiteral("Finished"));
        QCOMPARE(mForm->ListView1->caption(0), QStringLiteral("j.bmp"));
    }

    void selectAll()
    {
        mForm->SelectAll1->trigger();
        QCOMPARE(mForm->statusText(1), QStringLiteral("All Files Selected"));
        QVERIFY(mForm->ListView1->selectedRows().isEmpty());
        test::makeFile(mDir->path(), QStringLiteral("a.bmp"));
        test::makeFile(mDir->path(), QStringLiteral("b.bmp"));
        openDir();
        mForm->SelectAll1->trigger();
        QCOMPARE(mForm->ListView1->selectedRows(), (QList<int>{0, 1}));
        QCOMPARE(mForm->statusText(1), QStringLiteral("All Files Selected"));
    }

    void sizeLimitFromTheSettings()
    {
        test::writeSetting(QStringLiteral("Main"), QStringLiteral("MaxSizeLimit"), QStringLiteral("1"));
        test::writeSetting(QStringLiteral("Main"), QStringLiteral("MaxSize"), QStringLiteral("100"));
        mForm = std::make_unique<TMainForm>();
        mForm->NoThumbs1->setChecked(true);
        test::makeFile(mDir->path(), QStringLiteral("under.bmp"), 102399);
        test::makeFile(mDir->path(), QStringLiteral("exact.bmp"), 102400);
        openDir();
        QCOMPARE(captions(*mForm->ListView1), QStringList{QStringLiteral("under.bmp")});
    }

    void sameDirectoryListsOnceRefreshAlways()
    {
        test::makeFile(mDir->path(), QStringLiteral("a.bmp"));
        openDir();
        test::StatusLog log(*mForm);
        mForm->DirTree1DirChange(dir());
        QVERIFY(log.texts.isEmpty());
        mForm->Refresh1->trigger();
        QCOMPARE(log.texts.first(), QStringLiteral("Searching For Files"));
        log.texts.clear();
        mForm->BmpButton->click(); // the type already chosen lists again too
        QCOMPARE(log.texts.last(), QStringLiteral("Finished"));
    }

    void unenterableDirectoryKeepsTheList()
    {
        test::makeFile(mDir->path(), QStringLiteral("a.bmp"));
        openDir();
        // As the tree's report arrives: through the handler guard, which shows what escapes.
        guarded([this] { mForm->DirTree1DirChange(dir() + QStringLiteral("gone/")); })();
        QCOMPARE(mUser->shown.size(), 1);
        QCOMPARE(mUser->shown.first().kind, MessageKind::Error);
        QVERIFY(mUser->shown.first().text.startsWith(QStringLiteral("I/O error")));
        QCOMPARE(captions(*mForm->ListView1), QStringList{QStringLiteral("a.bmp")});
        QCOMPARE(mForm->statusText(1), QStringLiteral("Finished"));
        QVERIFY(mForm->DirTree1->isEnabled());
        QVERIFY(!appState().FileNames.has_value());
    }

    void typeChosenWhileListingListsAfterwards()
    {
        test::makeFile(mDir->path(), QStringLiteral("a.gif"));
        test::StatusLog log(*mForm);
        QObject context;
        // The user clicks GIF while the listing, having found nothing, lets messages run
        // without being busy.
        connect(mForm->StatusBar1, &PanelStatusBar::panelTextChanged, &context, [&](int, const QString &text) {
            if (text == QLatin1String("Creating Thumbnails") && log.texts.size() == 2)
                QMetaObject::invokeMethod(mForm->GifButton, &QToolButton::click, Qt::QueuedConnection);
        });
        openDir();
        QCOMPARE(log.texts.count(QStringLiteral("Searching For Files")), 2);
        QCOMPARE(log.texts.last(), QStringLiteral("Finished"));
        QCOMPARE(captions(*mForm->ListView1), QStringList{QStringLiteral("a.gif")});
        QCOMPARE(headerCount(*mForm), QStringLiteral("1 File"));
        QVERIFY(mForm->Gif1->isChecked());
    }

    void pruningNeedsASelection()
    {
        for (const char *name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"})
            test::makeFile(mDir->path(), QString::fromLatin1(name));
        openDir();
        QFile::remove(mDir->path() + QStringLiteral("/b.bmp"));
        QFile::remove(mDir->path() + QStringLiteral("/c.bmp"));
        setWorkingDirectory(mStartDir);
        mForm->PruneVanishedFiles();
        QCOMPARE(mForm->ListView1->count(), 4);

        mForm->ListView1->setCurrentRow(0);
        mForm->PruneVanishedFiles();
        QStringList left = captions(*mForm->ListView1);
        left.sort(); // the listing keeps the directory's own order
        QCOMPARE(left, (QStringList{QStringLiteral("a.bmp"), QStringLiteral("d.bmp")}));
        QCOMPARE(headerCount(*mForm), QStringLiteral("4 Files"));
        QCOMPARE(appState().FileCount, 4);
        QCOMPARE(workingDirectory(), mDir->path());
    }
};

QTEST_MAIN(TestListing)
#include "test_listing.moc"
