#include "acquire/scanform.h"
#include "browse/imageform.h"
#include "browse/thumbsizeform.h"
#include "convert/convertform.h"
#include "filelist/filelistform.h"
#include "fileops/copyform.h"
#include "fileops/drivedialog.h"
#include "fileops/propertyform.h"
#include "output/picform.h"
#include "output/printoptionsform.h"
#include "output/wmfform.h"
#include "scripteduser.h"
#include "search/searchform.h"
#include "shell/mainform.h"
#include "shell/maxsizeform.h"
#include "shell/startup.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

using namespace pelorin;

namespace {

// The global references in the order of creation, with the object name each window carries.
QList<std::pair<QString, QWidget *>> references()
{
    return {
        {QStringLiteral("MainForm"), MainForm},
        {QStringLiteral("ThumbSizeForm"), ThumbSizeForm},
        {QStringLiteral("ImageForm"), ImageForm},
        {QStringLiteral("CopyForm"), CopyForm},
        {QStringLiteral("PicForm"), PicForm},
        {QStringLiteral("ConvertForm"), ConvertForm},
        {QStringLiteral("PropertyForm"), PropertyForm},
        {QStringLiteral("ScanForm"), ScanForm},
        {QStringLiteral("PrintOptionsForm"), PrintOptionsForm},
        {QStringLiteral("WmfForm"), WmfForm},
        {QStringLiteral("SearchForm"), SearchForm},
        {QStringLiteral("MaxSizeForm"), MaxSizeForm},
        {QStringLiteral("DriveDialog"), DriveDialog},
        {QStringLiteral("FileListForm"), FileListForm},
    };
}

// Watches every event while the windows are made and notes, each time, how many of
// the references are set, and whether they form an unbroken run from the first.
class CreationWatcher : public QObject
{
public:
    int highest = 0;
    bool outOfOrder = false;

protected:
    bool eventFilter(QObject *, QEvent *) override
    {
        const auto refs = references();
        int set = 0;
        while (set < refs.size() && refs[set].second)
            ++set;
        for (int i = set; i < refs.size(); ++i)
            outOfOrder = outOfOrder || refs[i].second;
        highest = std::max(highest, set);
        return false;
    }
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
    }

    void windowsAreCreatedInOrderAndDestroyedInReverse()
    {
        test::ScriptedUser user;
        CreationWatcher watcher;
        qApp->installEventFilter(&watcher);
        createLongLivedWindows();
        qApp->removeEventFilter(&watcher);
        QVERIFY(!watcher.outOfOrder);
        QVERIFY(watcher.highest >= references().size() - 1); // the last one is set after its own events

        QStringList created;
        for (const auto &[name, window] : references()) {
            QVERIFY2(window, qPrintable(name));
            QCOMPARE(window->objectName(), name);
            created.append(name);
        }
        QCOMPARE(ThumbSizeForm->windowTitle(), QStringLiteral("Thumb Size"));
        QCOMPARE(SearchForm->windowTitle(), QStringLiteral("Search"));
        QCOMPARE(DriveDialog->windowTitle(), QStringLiteral("Drive Information"));
        // Nothing is shown by the creation, the hidden work window above all.
        for (const auto &[name, window] : references())
            QVERIFY2(!window->isVisible(), qPrintable(name));
        // Only the main window's closing ends the program.
        for (const auto &[name, window] : references().mid(1))
            QVERIFY2(!window->testAttribute(Qt::WA_QuitOnClose), qPrintable(name));
        QCOMPARE(MaxSizeForm->limitEnabled(), MainForm->initialMaxSizeLimit());
        QCOMPARE(MaxSizeForm->limitKilobytes(), MainForm->initialMaxSize());

        QStringList destroyed;
        for (const auto &[name, window] : references())
            connect(window, &QObject::destroyed, this, [&destroyed, n = name] { destroyed.append(n); });
        destroyLongLivedWindows();
        std::reverse(created.begin(), created.end());
        QCOMPARE(destroyed, created);
        for (const auto &[name, window] : references())
            QVERIFY2(!window, qPrintable(name));
        QVERIFY(user.shown.isEmpty());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
