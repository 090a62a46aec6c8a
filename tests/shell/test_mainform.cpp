#include "browse/imagelistview.h"
#include "mainformfixture.h"
#include "platform/workdir.h"
#include "scripteduser.h"
#include "shell/appstate.h"
#include "shell/dirtree.h"
#include "shell/hints.h"
#include "shell/mainform.h"
#include "shell/maxsizeform.h"
#include "shell/tipform.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace pelorin;

namespace {
// "a|b||c" as a list, empty entries kept.
QStringList words(const char *text)
{
    return QString::fromLatin1(text).split(QLatin1Char('|'));
}
} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::ScriptedUser> mUser;
    std::unique_ptr<TMainForm> mForm;
    QString mStartDir;

    QAction *action(const char *name) const { return mForm->findChild<QAction *>(QString::fromLatin1(name)); }

private slots:
    void initTestCase() { mStartDir = workingDirectory(); }

    void init()
    {
        test::isolateSettings();
        appState() = AppState{};
        setWorkingDirectory(mStartDir);
        mUser = std::make_unique<test::ScriptedUser>();
        mForm = std::make_unique<TMainForm>();
    }

    void cleanup()
    {
        mForm.reset();
        delete MaxSizeForm;
        MaxSizeForm = nullptr;
        mUser.reset();
        setWorkingDirectory(mStartDir);
    }

    void barsAndPanels()
    {
        TMainForm &f = *mForm;
        QCOMPARE(f.Panel2->height(), 50);
        QCOMPARE(f.Panel1->height(), 36);
        QCOMPARE(f.HeaderControl1->height(), 17);
        QCOMPARE(f.HeaderControl1->sectionSize(0), 211);
        QCOMPARE(f.HeaderControl1->sectionSize(1), 1000);
        QCOMPARE(f.HeaderControl1->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Directory"));
        QCOMPARE(f.HeaderControl1->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Files"));
        QCOMPARE(f.LeftPanel->width(), 210);
        QCOMPARE(f.CenterPanel->width(), 1);
        QCOMPARE(f.StatusBar1->height(), 19);
        for (int i = 0; i < 4; ++i) {
            auto *panel = f.findChild<QLabel *>(QStringLiteral("StatusBar1Panel%1").arg(i));
            QVERIFY(panel);
            const QList<int> widths{210, 250, 104, 50};
            QCOMPARE(f.StatusBar1->panelWidth(i), widths.at(i));
            QVERIFY(panel->width() >= widths.at(i));
        }
        QCOMPARE(f.ProgressBar1->geometry(), QRect(464, 4, 98, 13));
        QCOMPARE(f.ProgressBar1->parentWidget(), static_cast<QWidget *>(f.StatusBar1));
        QCOMPARE(f.property("helpContext"), QVariant());
        QCOMPARE(f.Panel2->property("helpContext").toInt(), 4);
        QCOMPARE(f.Panel1->property("helpContext").toInt(), 5);
        QCOMPARE(f.StatusBar1->property("helpContext").toInt(), 6);
        QVERIFY(!f.SplitLine->isVisible());
        QVERIFY(!f.DirTree1->currentIndex().isValid()); // opens nothing by itself

        const QStringList commands = words("MoveButton|CopyButton|DeleteButton|RenameButton|SearchButton|PrintButton|"
                                           "PrintSetUpButton|ViewButton|ClipBoardButton|ThumbSizeButton|HelpButton|"
                                           "StopButton|ExitButton");
        for (int i = 0; i < commands.size(); ++i) {
            auto *b = f.Panel2->findChild<QToolButton *>(commands.at(i));
            QVERIFY2(b, qPrintable(commands.at(i)));
            QCOMPARE(b->geometry(), QRect(8 + 41 * i, 3, 40, 40));
            QVERIFY(!b->toolTip().isEmpty());
            QCOMPARE(b->accessibleName(), b->toolTip());
            QCOMPARE(b->isEnabled(), commands.at(i) != QLatin1String("StopButton"));
        }
        QCOMPARE(f.DeleteButton->toolTip(), QStringLiteral("Delete Selected Images"));
        QCOMPARE(f.ExitButton->toolTip(), QStringLiteral("Exit Pelorin"));

        const QStringList types = words("BMP|DIB|EMF|GIF|ICON|JPEG|PCX|PNG|TIFF|WMF|ALL||");
        const QList<QToolButton *> typeButtons{f.BmpButton, f.DibButton, f.EmfButton, f.GifButton, f.IconButton,
                                               f.JpegButton, f.PcxButton, f.PngButton, f.TiffButton, f.WmfButton,
                                               f.AllButton, f.ListButton, f.IcoButton};
        for (int i = 0; i < typeButtons.size(); ++i) {
            QCOMPARE(typeButtons.at(i)->geometry(), QRect(8 + 33 * i, 4, 32, 24));
            QCOMPARE(typeButtons.at(i)->text(), types.at(i));
            QCOMPARE(typeButtons.at(i)->parentWidget(), static_cast<QWidget *>(f.Panel1));
        }
        QCOMPARE(f.IcoButton->accessibleName(), QStringLiteral("Icon Style View"));
        QVERIFY(f.BmpButton->isChecked() && f.IcoButton->isChecked());
        // Two radio groups: pressing a type leaves the style alone and the other way round.
        f.TiffButton->setChecked(true);
        QVERIFY(!f.BmpButton->isChecked() && f.IcoButton->isChecked());
        f.ListButton->setChecked(true);
        QVERIFY(f.TiffButton->isChecked() && !f.IcoButton->isChecked());
    }

    void mainMenuItems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("help");
        const char *const rows[][5] = {
            {"Move1", "&Move", "Ctrl+M", "Move Selected Files", "9"},
            {"Copy1", "&Copy", "Ctrl+C", "Copy Selected Files", "16"},
            {"Rename1", "&Rename", "Ctrl+R", "Rename Selected Files", "8"},
            {"Delete1", "&Delete", "Del", "Delete Selected Files", "17"},
            {"SelectAll1", "&Select All", "Ctrl+S", "Select All Image Files", "18"},
            {"Properties2", "Pr&operties", "Ctrl+O", "File Properties", "7"},
            {"SearchMenuItem", "S&earch", "Ctrl+E", "Search For Files", "0"},
            {"CreateDirectory1", "Cre&ate Directory", "", "Create New Directory", "0"},
            {"PrintThumb", "&Print  Thumb", "Ctrl+P", "Print Thumb Nails ", "10"},
            {"PrintsetUp1", "Pr&int Set Up", "", "Printer Set Up", "19"},
            {"Exit1", "E&xit", "", "Exit", "20"},
            {"BMP1", "&Bmp", "", "Show Bmp Images", "5"},
            {"DIB1", "&Dib", "", "Show Dib Images", "0"},
            {"Emf1", "&Emf", "", "Show Emf Images", "0"},
            {"Icon1", "I&con", "", "Show Icon Images", "5"},
            {"All1", "&All", "", "Show All Images", "5"},
            {"Convert1", "&Convert", "Ctrl+N", "Convert Images To Different Type", "6"},
            {"Print2", "&Print", "", "Print Image", "23"},
            {"ThumbSize1", "&Thumb Size", "", "Thumb Image Size", "14"},
            {"ToClipboard1", "T&o Clipboard", "Ctrl+T", "Copy Image To Clipboard", "24"},
            {"View1", "&View", "Ctrl+V", "View Image At Full Size", "25"},
            {"Acquire1", "&Acquire", "", "Twain 32 Image Scan", "11"},
            {"SelectTwain1", "S&elect Twain", "", "Select Twain 32 Scanner", "26"},
            {"ScreenCapture1", "Sc&reen Capture", "", "Capture Full Screen", "27"},
            {"WindowCapture1", "&Window Capture", "", "Capture Active Window", "27"},
            {"ClientCapture1", "C&lient Capture", "", "Capture Window Client Area", "0"},
            {"NoStop1", "&No Stop", "", "Disable Stop Button To Increase Speed", "31"},
            {"MaximumSize1", "&Maximum Size", "", "Set Maximum Image Size", "0"},
            {"NoThumbs1", "No &Thumbs", "", "Do Not Create Thumbnail Images", "0"},
            {"ShowHints1", "Show T&ips", "", "Show Hints At Start Up", "0"},
            {"RecycleFiles1", "&Recycle Files", "", "Send Files Tor Recycle Bin", "0"},
            {"List1", "&List", "", "List View", "29"},
            {"Refresh1", "&Refresh", "", "Update Display", "28"},
            {"Sorted1", "&Sorted", "", "Display Alphabetically", "30"},
            {"Fonts1", "&Fonts", "", "Display Fonts", "12"},
            {"View4", "&View", "", "Show File List", "0"},
            {"ClearFileList1", "&Clear File List", "", "Clear", "0"},
            {"AddFile1", "&Add File", "", "Add Selected Files To File List", "0"},
            {"SearchWindow1", "&Search Window", "", "Show Search Window", "0"},
            {"FileListWindow", "&File List Window", "", "Show File List Window", "0"},
            {"About1", "&About", "", "About Pelorin", "32"},
            {"Help2", "H&elp", "", "Pelorin Help", "32"},
            {"SearchHelp", "&Search Help", "", "Search Pelorin Help", "32"},
            {"UsingHelp1", "&Using Help", "", "Using Help Files", "32"},
            {"Move2", "&Move", "", "Move Selected Files", "21"},
            {"Rename2", "&Rename", "", "Rename File", "8"},
            {"Properties1", "&Properties", "", "File Properties", "7"},
            {"Convert2", "C&onvert", "", "Convert Images", "6"},
            {"LaunchApp1", "&Launch App", "", "Launch Associated Application", "33"},
            {"View2", "&View", "", "View Image Full Size", "25"},
            {"AddToFileList1", "&Add To File List", "", "Add Selected Files To File List", "0"},
            {"Explore1", "&Explore", "", "Explore Directory", "34"},
            {"WhatsThis2", "&What's This?", "", "Help On Image List", "0"},
            {"Delete3", "&Delete Directory", "", "Delete Current Directory", "0"},
            {"WhatsThis1", "&What's This?", "", "Help On Directory List", "0"},
            {"WhatsThis4", "&What's This?", "", "Help Using Speed Bar", "0"},
            {"WhatsThis7", "&What's This?", "", "Help On Resize Bar", "0"},
            {"Exit8", "E&xit", "", "Exit Pelorin", "0"},
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]) << QString::fromLatin1(row[2])
                                  << QString::fromLatin1(row[3]) << QString::fromLatin1(row[4]).toInt();
    }
    void mainMenuItems()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(QString, hint);
        QFETCH(int, help);
        QAction *item = mForm->findChild<QAction *>(name);
        QVERIFY(item);
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->shortcut().toString(), shortcut);
        QCOMPARE(item->statusTip(), hint);
        QCOMPARE(item->property("helpContext").toInt(), help);
    }

    void menuStructure()
    {
        QStringList titles;
        for (QAction *top : mForm->menuBar()->actions())
            titles << top->text();
        QCOMPARE(titles, words("&File|&Image Type|I&mage|&Options|&View|File &List|&Window|&Help"));
        QCOMPARE(mForm->FileMenu->menuAction()->property("helpContext").toInt(), 21);
        QCOMPARE(mForm->ViewMenu->menuAction()->statusTip(), QStringLiteral("Window Appearance"));
        QVERIFY(mForm->ImageTypeGroup->isExclusive());
        QCOMPARE(mForm->ImageTypeGroup->actions().size(), 11);
        QVERIFY(mForm->BMP1->isChecked());

        // The small popups: What's This, a separator and their own Exit item.
        const QList<std::pair<QMenu *, QStringList>> popups{
            {mForm->PopupMenu4, words("WhatsThis4||Exit7")},
            {mForm->PopupMenu5, words("WhatsThis5||Exit3")},
            {mForm->PopupMenu6, words("WhatsThis6||Exit4")},
            {mForm->PopupMenu7, words("WhatsThis7||Exit8")},
            {mForm->PopupMenu2, words("CreateDirectory2|Delete3|Explore2||WhatsThis1||Exit5")},
        };
        for (const auto &[menu, items] : popups) {
            QStringList names;
            for (QAction *a : menu->actions())
                names << (a->isSeparator() ? QString() : a->objectName());
            QCOMPARE(names, items);
        }
        QCOMPARE(mForm->PopupMenu1->actions().size(), 17);
        for (QWidget *w : {static_cast<QWidget *>(mForm->StatusBar1), static_cast<QWidget *>(mForm->ProgressBar1),
                           static_cast<QWidget *>(mForm->ListView1), static_cast<QWidget *>(mForm->DirTree1),
                           static_cast<QWidget *>(mForm->Panel1), static_cast<QWidget *>(mForm->Panel2),
                           static_cast<QWidget *>(mForm->HeaderControl1)})
            QCOMPARE(w->contextMenuPolicy(), Qt::CustomContextMenu);
    }

    void hintsGoToThePanel()
    {
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(mForm->MoveButton, &enter);
        QCOMPARE(mForm->statusText(1), QStringLiteral("  Move Selected Files"));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(mForm->MoveButton, &leave);
        QCOMPARE(mForm->statusText(1), QStringLiteral("  "));
        mForm->Properties2->showStatusText(mForm->FileMenu);
        QCOMPARE(mForm->statusText(1), QStringLiteral("  File Properties"));
        mForm->Exit2->showStatusText(mForm->PopupMenu1);
        QCOMPARE(mForm->statusText(1), QStringLiteral("  Exit Pelorin"));
    }

    void optionToggles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("status");
        QTest::newRow("NoStop1") << "NoStop1" << "Changed No Stop";
        QTest::newRow("ShowHints1") << "ShowHints1" << "Hints Option Set";
        QTest::newRow("NoThumbs1") << "NoThumbs1" << "Thumbs Option Set";
        QTest::newRow("RecycleFiles1") << "RecycleFiles1" << "before";
    }
    void optionToggles()
    {
        QFETCH(QString, name);
        QFETCH(QString, status);
        QAction *option = mForm->findChild<QAction *>(name);
        const bool before = option->isChecked();
        mForm->setStatusText(1, QStringLiteral("before"));
        option->trigger();
        QCOMPARE(option->isChecked(), !before);
        QCOMPARE(mForm->statusText(1), status);
        option->trigger();
        QCOMPARE(option->isChecked(), before);
    }

    void whatsThisItems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("status");
        for (const char *name : {"WhatsThis1", "WhatsThis2", "WhatsThis4", "WhatsThis5", "WhatsThis6"})
            QTest::newRow(name) << QString::fromLatin1(name) << QStringLiteral("help File");
        QTest::newRow("WhatsThis7") << QStringLiteral("WhatsThis7") << QStringLiteral("Help File");
    }
    void whatsThisItems()
    {
        QFETCH(QString, name);
        QFETCH(QString, status);
        QTemporaryDir elsewhere;
        setWorkingDirectory(elsewhere.path());
        mForm->findChild<QAction *>(name)->trigger();
        QCOMPARE(mForm->statusText(1), status);
        QCOMPARE(workingDirectory(), elsewhere.path());
        setWorkingDirectory(mStartDir);
    }

    void busyStateWithStop()
    {
        TMainForm &f = *mForm;
        f.DisableWindow();
        for (QMenu *m : {f.FileMenu, f.ImageTypeMenu, f.ImageMenu, f.OptionsMenu, f.ViewMenu, f.FileListMenu, f.WindowMenu, f.HelpMenu})
            QVERIFY(!m->menuAction()->isEnabled());
        for (QToolButton *b : f.Panel2->findChildren<QToolButton *>()) {
            QCOMPARE(b->isEnabled(), b == f.StopButton);
            if (b != f.StopButton)
                QCOMPARE(b->cursor().shape(), Qt::WaitCursor);
        }
        for (QWidget *w : {static_cast<QWidget *>(f.DirTree1), static_cast<QWidget *>(f.ListView1), static_cast<QWidget *>(f.Panel1)}) {
            QVERIFY(!w->isEnabled());
            QCOMPARE(w->cursor().shape(), Qt::WaitCursor);
        }
        QVERIFY(!f.HeaderControl1->isEnabled());
        QVERIFY(f.CenterPanel->isEnabled() && f.isEnabled());

        f.StopButton->click();
        QVERIFY(appState().StopFlag);
        appState().StopFlag = false;

        f.EnableWindow();
        for (QMenu *m : {f.FileMenu, f.HelpMenu})
            QVERIFY(m->menuAction()->isEnabled());
        for (QToolButton *b : f.Panel2->findChildren<QToolButton *>()) {
            QCOMPARE(b->isEnabled(), b != f.StopButton);
            QCOMPARE(b->cursor().shape(), Qt::ArrowCursor);
        }
        QVERIFY(f.DirTree1->isEnabled() && f.ListView1->isEnabled() && f.Panel1->isEnabled() && f.HeaderControl1->isEnabled());
        QVERIFY(f.IcoButton->isChecked());

        // Stop locked: Stop stays disabled and the command bar shows the hourglass.
        appState().StopLocked = true;
        f.DisableWindow();
        QVERIFY(!f.StopButton->isEnabled());
        QCOMPARE(f.Panel2->cursor().shape(), Qt::WaitCursor);
        f.EnableWindow();
        QCOMPARE(f.Panel2->cursor().shape(), Qt::ArrowCursor);
        appState().StopLocked = false;

        // In report style the thumbnail size button stays off after a long operation.
        f.ListView1->setViewStyle(ImageListView::Style::Report);
        f.List1->setChecked(true);
        f.DisableWindow();
        f.EnableWindow();
        QVERIFY(!f.ThumbSizeButton->isEnabled());
        QVERIFY(f.ListButton->isChecked());
    }

    void busyStateWithNoStop()
    {
        TMainForm &f = *mForm;
        f.NoStop1->setChecked(true);
        f.DisableWindow();
        QVERIFY(!f.isEnabled());
        QVERIFY(!f.StopButton->isEnabled() && !f.CenterPanel->isEnabled());
        QCOMPARE(f.cursor().shape(), Qt::WaitCursor);
        f.EnableWindow();
        QVERIFY(f.isEnabled());
        QVERIFY(!f.StopButton->isEnabled());
        QVERIFY(f.ExitButton->isEnabled());
        QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
    }

    void dividerLimits()
    {
        TMainForm &f = *mForm;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto drag = [&](int toX) {
            QTest::mousePress(f.CenterPanel, Qt::LeftButton, {}, QPoint(0, 10));
            QVERIFY(f.isSplitting() && f.SplitLine->isVisible());
            QCOMPARE(f.SplitLine->geometry().width(), 1);
            QTest::mouseMove(f.CenterPanel, QPoint(toX - f.CenterPanel->x(), 10));
            QTest::mouseRelease(f.CenterPanel, Qt::LeftButton, {}, QPoint(toX - f.CenterPanel->x(), 10));
            QVERIFY(!f.isSplitting() && !f.SplitLine->isVisible());
        };
        const int rowWidth = f.RightPanel->x() + f.RightPanel->width();
        drag(-500);
        QCOMPARE(f.LeftPanel->width(), 19);
        QCOMPARE(f.HeaderControl1->sectionSize(0), 19);
        QCOMPARE(f.StatusBar1->panelWidth(0), 19);
        QCOMPARE(f.ProgressBar1->x(), 19 + 250 + 4);
        QCOMPARE(f.statusText(1), QStringLiteral("Adjusted Display Ratio"));

        drag(5000);
        QCOMPARE(f.CenterPanel->x() + 1, rowWidth - 20);
        QCOMPARE(f.RightPanel->width(), 20);

        drag(300);
        QCOMPARE(f.LeftPanel->width(), 299);

        // Other buttons do not start a drag.
        QTest::mousePress(f.CenterPanel, Qt::RightButton, {}, QPoint(0, 10));
        QVERIFY(!f.isSplitting());
        QTest::mouseRelease(f.CenterPanel, Qt::RightButton, {}, QPoint(0, 10));
    }

    void headerSectionResizeMovesTree()
    {
        TMainForm &f = *mForm;
        f.HeaderControl1->resizeSection(0, 300);
        QCOMPARE(f.LeftPanel->width(), 300);
        QCOMPARE(f.StatusBar1->panelWidth(0), 300);
        QCOMPARE(f.ProgressBar1->x(), 300 + 250 + 4);
        QCOMPARE(f.statusText(1), QStringLiteral("Adjusted Display Ratio"));
        f.HeaderControl1->resizeSection(0, 2000); // no clamping here
        QCOMPARE(f.LeftPanel->width(), 2000);
    }

    void firstActivationShowsTipsAndListsTheWorkingDirectory()
    {
        QTemporaryDir dir;
        test::makeFile(dir.path(), QStringLiteral("a.bmp"));
        setWorkingDirectory(dir.path());
        test::writeSetting(QStringLiteral("Main"), QStringLiteral("Hints"), QStringLiteral("1"));
        test::writeSetting(QStringLiteral("Main"), QStringLiteral("Thumbs"), QStringLiteral("1"));
        mForm = std::make_unique<TMainForm>();
        QVERIFY(mForm->ShowHints1->isChecked());
        mUser->onDialog(QStringLiteral("TipForm"), [](QDialog &tip) {
            tip.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(false);
            tip.accept();
        });
        mForm->show();
        QTRY_COMPARE(appState().CurrentDir, dir.path() + QLatin1Char('/'));
        QCOMPARE(mUser->dialogsRun, QStringList{QStringLiteral("TipForm")});
        QVERIFY(!mForm->ShowHints1->isChecked());
        QCOMPARE(mForm->ListView1->count(), 1);
        QVERIFY(!appState().FirstActivation);
        QCOMPARE(mForm->DirTree1->directory(), dir.path() + QLatin1Char('/'));
    }

    void returningFromAnotherWindowPrunes()
    {
        QTemporaryDir dir;
        test::makeFile(dir.path(), QStringLiteral("a.bmp"));
        test::makeFile(dir.path(), QStringLiteral("b.bmp"));
        setWorkingDirectory(dir.path());
        mForm->NoThumbs1->setChecked(true);
        mForm->show();
        QVERIFY(QTest::qWaitForWindowActive(mForm.get()));
        QTRY_COMPARE(mForm->ListView1->count(), 2);
        mForm->ListView1->setCurrentRow(0);
        QFile::remove(dir.path() + QStringLiteral("/b.bmp"));

        // A modal dialog closing does not count as an activation.
        QDialog dialog(mForm.get());
        dialog.setModal(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.hide();
        mForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mForm.get()));
        QCoreApplication::processEvents();
        QCOMPARE(mForm->ListView1->count(), 2);

        // Coming back from another window of the program does, and takes the hints back
        // from the window that had them.
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QString otherHint;
        routeHints(&other, [&otherHint](const QString &hint) { otherHint = hint; });
        mForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mForm.get()));
        QTRY_COMPARE(mForm->ListView1->count(), 1);
        QCOMPARE(mForm->ListView1->caption(0), QStringLiteral("a.bmp"));
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(mForm->CopyButton, &enter);
        QCOMPARE(mForm->statusText(1), QStringLiteral("  Copy Selected Files"));
        QVERIFY(otherHint.isEmpty());
        QVERIFY(mUser->dialogsRun.isEmpty()); // Show Tips is off on a first run
    }

    void maximumSizeTakesTheDialogsCheck()
    {
        MaxSizeForm = new TMaxSizeForm(false, 100);
        mUser->onDialog(QStringLiteral("MaxSizeForm"), [](QDialog &d) {
            d.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(true);
            d.accept();
        });
        mForm->MaximumSize1->trigger();
        QVERIFY(mForm->MaximumSize1->isChecked());
        QCOMPARE(mForm->statusText(1), QStringLiteral("Maximum Size Set"));
        QCOMPARE(mUser->dialogsRun, QStringList{QStringLiteral("MaxSizeForm")});
    }

    void exitClosesAndSaves()
    {
        mForm->show();
        mForm->Exit2->trigger();
        QVERIFY(!mForm->isVisible());
        QCOMPARE(test::readSetting(QStringLiteral("Window"), QStringLiteral("WindowState")), QStringLiteral("Normal"));
    }
};

QTEST_MAIN(TestMainForm)
#include "test_mainform.moc"
