#include "browse/imagelistview.h"
#include "mainformfixture.h"
#include "platform/workdir.h"
#include "scripteduser.h"
#include "shell/appstate.h"
#include "shell/mainform.h"
#include "shell/maxsizeform.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace pelorin;

namespace {

// What a freshly created main window took from one setting, as text.
QString probe(const TMainForm &form, const QString &what)
{
    const AppState &state = appState();
    auto check = [](const QAction *a) { return a->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked"); };
    if (what == QLatin1String("ThumbWidth"))
        return QString::number(state.ThumbWidth);
    if (what == QLatin1String("ThumbHeight"))
        return QString::number(state.ThumbHeight);
    if (what == QLatin1String("Recycle"))
        return check(form.RecycleFiles1);
    if (what == QLatin1String("Hints"))
        return check(form.ShowHints1);
    if (what == QLatin1String("Thumbs"))
        return check(form.NoThumbs1);
    if (what == QLatin1String("NoStop"))
        return check(form.NoStop1);
    if (what == QLatin1String("Sorted"))
        return check(form.Sorted1) + (form.ListView1->isSorted() ? QStringLiteral(" sorting") : QString());
    if (what == QLatin1String("List"))
        return check(form.List1) + (form.ListView1->viewStyle() == ImageListView::Style::Report ? QStringLiteral(" report") : QString())
             + (form.ListButton->isChecked() ? QStringLiteral(" ListButton") : QStringLiteral(" IcoButton"))
             + (form.ThumbSizeButton->isEnabled() ? QString() : QStringLiteral(" nothumbsize"));
    if (what == QLatin1String("MaxSizeLimit"))
        return check(form.MaximumSize1) + (form.initialMaxSizeLimit() ? QStringLiteral(" on") : QStringLiteral(" off"));
    if (what == QLatin1String("MaxSize"))
        return QString::number(form.initialMaxSize());
    if (what == QLatin1String("WindowSize"))
        return QStringLiteral("%1x%2").arg(form.width()).arg(form.height());
    if (what == QLatin1String("WindowState"))
        return form.windowState() & Qt::WindowMaximized ? QStringLiteral("maximized") : QStringLiteral("normal");
    return QStringLiteral("?");
}

} // namespace

class TestMainFormSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::ScriptedUser> mUser;
    QString mStartDir;

private slots:
    void initTestCase() { mStartDir = workingDirectory(); }

    void init()
    {
        test::isolateSettings();
        appState() = AppState{};
        setWorkingDirectory(mStartDir);
        mUser = std::make_unique<test::ScriptedUser>();
    }

    void cleanup()
    {
        delete MaxSizeForm;
        MaxSizeForm = nullptr;
        mUser.reset();
        setWorkingDirectory(mStartDir);
    }

    void firstRunDefaults()
    {
        TMainForm form;
        QCOMPARE(appState().ThumbWidth, 70);
        QCOMPARE(appState().ThumbHeight, 70);
        for (const char *what : {"Recycle", "Hints", "Thumbs", "NoStop", "Sorted"})
            QCOMPARE(probe(form, QString::fromLatin1(what)), QStringLiteral("unchecked"));
        QCOMPARE(probe(form, QStringLiteral("List")), QStringLiteral("unchecked IcoButton"));
        QCOMPARE(probe(form, QStringLiteral("MaxSizeLimit")), QStringLiteral("unchecked off"));
        QCOMPARE(form.initialMaxSize(), 100);
        QCOMPARE(form.size(), QSize(600, 450));
        QCOMPARE(probe(form, QStringLiteral("WindowState")), QStringLiteral("normal"));
        QCOMPARE(form.geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
        QVERIFY(appState().FirstActivation);
        QCOMPARE(appState().ProgramDir, QCoreApplication::applicationDirPath() + QLatin1Char('/'));
        QVERIFY(appState().WindowsDir.endsWith(QLatin1Char('/')));
        QVERIFY(mUser->shown.isEmpty());
        QCOMPARE(workingDirectory(), mStartDir);
    }

    void readingValues_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("expected");
        const QString main = QStringLiteral("Main");
        const QString window = QStringLiteral("Window");
        QTest::newRow("decimal") << main << "ThumbSizew" << "80" << "ThumbWidth" << "80";
        QTest::newRow("hexadecimal") << main << "ThumbSizew" << "0x50" << "ThumbWidth" << "80";
        QTest::newRow("letters") << main << "ThumbSizeh" << "abc" << "ThumbHeight" << "70";
        QTest::newRow("out of dialog range taken as is") << main << "ThumbSizeh" << "500" << "ThumbHeight" << "500";
        QTest::newRow("Hints 1") << main << "Hints" << "1" << "Hints" << "checked";
        QTest::newRow("Hints 2 keeps it checked") << main << "Hints" << "2" << "Hints" << "checked";
        QTest::newRow("Recycle 1") << main << "Recycle" << "1" << "Recycle" << "checked";
        QTest::newRow("Recycle 2 leaves it unchecked") << main << "Recycle" << "2" << "Recycle" << "unchecked";
        QTest::newRow("Thumbs") << main << "Thumbs" << "1" << "Thumbs" << "checked";
        QTest::newRow("NoStop") << main << "NoStop" << "1" << "NoStop" << "checked";
        QTest::newRow("Sorted") << main << "Sorted" << "1" << "Sorted" << "checked sorting";
        QTest::newRow("List") << main << "List" << "1" << "List" << "checked report ListButton nothumbsize";
        QTest::newRow("MaxSizeLimit") << main << "MaxSizeLimit" << "1" << "MaxSizeLimit" << "checked on";
        QTest::newRow("MaxSize") << main << "MaxSize" << "250" << "MaxSize" << "250";
        QTest::newRow("WindowWidth") << window << "WindowWidth" << "700" << "WindowSize" << "700x450";
        QTest::newRow("WindowState normal in lower case") << window << "WindowState" << "normal" << "WindowState" << "maximized";
        QTest::newRow("WindowState Normal") << window << "WindowState" << "Normal" << "WindowState" << "normal";
    }
    void readingValues()
    {
        QFETCH(QString, section);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, what);
        QFETCH(QString, expected);
        test::writeSetting(section, name, value);
        TMainForm form;
        QCOMPARE(probe(form, what), expected);
        QVERIFY(mUser->shown.isEmpty());
    }

    void unreadableValueStopsCreationThere()
    {
        test::writeSetting(QStringLiteral("Main"), QStringLiteral("NoStop"), QStringLiteral("1"));
        test::writeSetting(QStringLiteral("Main"), QStringLiteral("Sorted"), QStringList{QStringLiteral("1"), QStringLiteral("2")});
        test::writeSetting(QStringLiteral("Main"), QStringLiteral("MaxSizeLimit"), QStringLiteral("1"));
        test::writeSetting(QStringLiteral("Window"), QStringLiteral("WindowWidth"), QStringLiteral("700"));
        TMainForm form;
        QCOMPARE(mUser->texts(), QStringList{QStringLiteral("Invalid data type for 'Sorted'")});
        QCOMPARE(mUser->shown.first().kind, MessageKind::Error);
        QCOMPARE(probe(form, QStringLiteral("NoStop")), QStringLiteral("checked"));
        QCOMPARE(probe(form, QStringLiteral("MaxSizeLimit")), QStringLiteral("unchecked off"));
        QVERIFY(form.width() != 700);
        QVERIFY(!appState().FirstActivation);
    }

    void everyOptionSurvivesCloseAndRestart()
    {
        // A comma in the directory must not turn the text value into a list.
        QTemporaryDir lastDir(QDir::tempPath() + QStringLiteral("/last, dir-XXXXXX"));
        {
            TMainForm form;
            MaxSizeForm = new TMaxSizeForm(form.initialMaxSizeLimit(), form.initialMaxSize());
            for (QAction *option : {form.RecycleFiles1, form.ShowHints1, form.NoThumbs1, form.NoStop1})
                option->trigger();
            appState().ThumbWidth = 90;
            appState().ThumbHeight = 40;
            mUser->onDialog(QStringLiteral("MaxSizeForm"), [](QDialog &dialog) {
                dialog.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(true);
                dialog.accept();
            });
            form.MaximumSize1->trigger();
            // The view options list again; an empty directory keeps that quick.
            appState().CurrentDir = lastDir.path() + QLatin1Char('/');
            form.List1->trigger();
            form.Sorted1->trigger();
            form.resize(640, 480);
            setWorkingDirectory(lastDir.path());
            QVERIFY(form.close());
            delete MaxSizeForm;
            MaxSizeForm = nullptr;
        }
        QCOMPARE(test::readSetting(QStringLiteral("Main"), QStringLiteral("Directory")), lastDir.path());
        setWorkingDirectory(mStartDir);
        appState() = AppState{};

        TMainForm form;
        QCOMPARE(appState().ThumbWidth, 90);
        QCOMPARE(appState().ThumbHeight, 40);
        for (const char *what : {"Recycle", "Thumbs", "NoStop"})
            QCOMPARE(probe(form, QString::fromLatin1(what)), QStringLiteral("checked"));
        QCOMPARE(probe(form, QStringLiteral("Hints")), QStringLiteral("checked"));
        QCOMPARE(probe(form, QStringLiteral("Sorted")), QStringLiteral("checked sorting"));
        QCOMPARE(probe(form, QStringLiteral("List")), QStringLiteral("checked report ListButton nothumbsize"));
        QCOMPARE(probe(form, QStringLiteral("MaxSizeLimit")), QStringLiteral("checked on"));
        QCOMPARE(form.initialMaxSize(), 100);
        QCOMPARE(form.size(), QSize(640, 480));
        QCOMPARE(workingDirectory(), lastDir.path());
        QVERIFY(mUser->shown.isEmpty());
    }

    void closingWhileMinimizedWritesMaximized()
    {
        TMainForm form;
        form.setWindowState(Qt::WindowMinimized);
        QVERIFY(form.FormClose());
        QCOMPARE(test::readSetting(QStringLiteral("Window"), QStringLiteral("WindowState")), QStringLiteral("Maximized"));
        form.setWindowState(Qt::WindowNoState);
        QVERIFY(form.FormClose());
        QCOMPARE(test::readSetting(QStringLiteral("Window"), QStringLiteral("WindowState")), QStringLiteral("Normal"));
        QCOMPARE(test::readSetting(QStringLiteral("Main"), QStringLiteral("ThumbSizew")), QStringLiteral("70"));
        QCOMPARE(test::readSetting(QStringLiteral("Main"), QStringLiteral("MaxSize")), QStringLiteral("100"));
    }

    void vanishedSavedDirectoryLeavesTheStartDirectory()
    {
        {
            QTemporaryDir gone;
            test::writeSetting(QStringLiteral("Main"), QStringLiteral("Directory"), gone.path());
        }
        TMainForm form;
        QCOMPARE(workingDirectory(), mStartDir);
    }

    void unwritableSettingsKeepTheWindowOpen()
    {
        TMainForm form;
        form.show();
        QVERIFY(QDir().mkpath(SettingsStore::defaultFile())); // a directory where the file belongs
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QCOMPARE(mUser->shown.size(), 1);
        QCOMPARE(mUser->shown.first().kind, MessageKind::Error);
        QVERIFY2(mUser->shown.first().text.startsWith(QStringLiteral("Failed to set data for '")),
                 qPrintable(mUser->shown.first().text));
        QVERIFY(QDir(SettingsStore::defaultFile()).removeRecursively());
        QVERIFY(form.close());
    }
};

QTEST_MAIN(TestMainFormSettings)
#include "test_mainform_settings.moc"
