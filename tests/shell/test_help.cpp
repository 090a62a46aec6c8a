#include "platform/error.h"
#include "platform/workdir.h"
#include "scripteduser.h"
#include "shell/appstate.h"
#include "shell/help.h"
#include "shell/helpwindow.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <memory>

using namespace pelorin;

namespace {

THelpWindow *helpWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("HelpWindow"))
            return qobject_cast<THelpWindow *>(w);
    return nullptr;
}

int helpWindowCount()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->objectName() == QStringLiteral("HelpWindow");
    return count;
}

void closeHelp()
{
    if (THelpWindow *w = helpWindow())
        w->hide();
}

// Every help context number that the program's windows, menus and dialogs use.
const QList<int> kContexts = {1,  2,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                              20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 38};

const QString kBuiltProgramDir = QStringLiteral(PELORIN_BINARY_DIR "/");

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        closeHelp();
        appState().ProgramDir = kBuiltProgramDir;
        QVERIFY(mWork.isValid());
        setWorkingDirectory(mWork.path());
    }

    void commandsOpenTheirPageAndReturnToTheWorkingDirectory_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("topic");
        QTest::addColumn<int>("tab");
        QTest::newRow("contents") << 0 << QStringLiteral("index.html") << 0;
        QTest::newRow("search") << 1 << QString() << 1;
        QTest::newRow("context 38") << 38 << QStringLiteral("38.html") << -1;
        QTest::newRow("context 14") << 14 << QStringLiteral("14.html") << -1;
    }
    void commandsOpenTheirPageAndReturnToTheWorkingDirectory()
    {
        QFETCH(int, command);
        QFETCH(QString, topic);
        QFETCH(int, tab);
        if (command == 0)
            help::contents();
        else if (command == 1)
            help::search();
        else
            help::context(command);
        QCOMPARE(workingDirectory(), QDir(mWork.path()).canonicalPath());
        THelpWindow *w = helpWindow();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QVERIFY(!w->isModal());
        QCOMPARE(helpWindowCount(), 1);
        if (!topic.isEmpty())
            QCOMPARE(w->currentTopic(), topic);
        if (tab >= 0)
            QCOMPARE(w->findChild<QTabWidget *>(QStringLiteral("HelpTabs"))->currentIndex(), tab);
        const QString shown = w->findChild<QTextBrowser *>(QStringLiteral("TopicView"))->toPlainText();
        QVERIFY(!shown.contains(QStringLiteral("Topic not found")));
    }

    void everyContextHasATopicInTheContents()
    {
        help::contents();
        THelpWindow *w = helpWindow();
        QVERIFY(w);
        QStringList listed;
        for (const auto &topic : w->topics())
            listed.append(topic.file);
        for (int number : kContexts) {
            const QString file = THelpWindow::fileNameForContext(number);
            QVERIFY2(listed.contains(file), qPrintable(file));
            QVERIFY2(w->showTopic(file), qPrintable(file));
            QVERIFY(!w->topics().at(listed.indexOf(file)).title.isEmpty());
        }
        QVERIFY(listed.contains(QStringLiteral("usinghelp.html")));
        // Every listed topic exists, and every link between topics leads somewhere.
        for (const auto &topic : w->topics()) {
            QVERIFY2(QFile::exists(w->topicDirectory() + QLatin1Char('/') + topic.file), qPrintable(topic.file));
            QFile file(w->topicDirectory() + QLatin1Char('/') + topic.file);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            static const QRegularExpression link(QStringLiteral("href=\"([^\":]+)\""));
            for (auto it = link.globalMatch(text); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(QFile::exists(w->topicDirectory() + QLatin1Char('/') + target),
                         qPrintable(topic.file + QStringLiteral(" -> ") + target));
            }
        }
    }

    void unknownContextShowsANoteAndTheContentsStayUsable()
    {
        help::context(99);
        THelpWindow *w = helpWindow();
        QVERIFY(w && w->isVisible());
        QVERIFY(w->findChild<QTextBrowser *>(QStringLiteral("TopicView"))->toPlainText().contains(QStringLiteral("99.html")));
        QVERIFY(!w->topics().isEmpty());
    }

    void searchFindsTopicsHoldingEveryWord()
    {
        help::search();
        THelpWindow *w = helpWindow();
        QVERIFY(w);
        const auto files = [w](const QString &query) {
            QStringList out;
            for (const auto &topic : w->findTopics(query))
                out.append(topic.file);
            return out;
        };
        QVERIFY(files(QStringLiteral("kilobytes")).contains(QStringLiteral("38.html")));
        QVERIFY(files(QStringLiteral("THUMBNAILS pixels")).contains(QStringLiteral("14.html")));
        QVERIFY(!files(QStringLiteral("thumbnails kilobytes zebra")).size());
        QVERIFY(files(QStringLiteral("   ")).isEmpty());
        // Typing into the search field fills the result list.
        auto *edit = w->findChild<QLineEdit *>(QStringLiteral("SearchEdit"));
        QTest::keyClicks(edit, QStringLiteral("Ctrl+F4"));
        auto *results = w->findChild<QListWidget *>(QStringLiteral("SearchResults"));
        QVERIFY(results->count() >= 1);
        QCOMPARE(results->item(0)->data(Qt::UserRole).toString(), QStringLiteral("27.html"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(w->currentTopic(), QStringLiteral("27.html"));
    }

    void helpOnHelpShowsTheHelpWindowPageWithoutChangingDirectory()
    {
        help::helpOnHelp();
        THelpWindow *w = helpWindow();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->currentTopic(), QStringLiteral("usinghelp.html"));
        QCOMPARE(workingDirectory(), QDir(mWork.path()).canonicalPath());
    }

    void unreachableProgramDirShowsTheInOutErrorAndOpensNothing()
    {
        test::ScriptedUser user;
        appState().ProgramDir = mWork.path() + QStringLiteral("/gone/");
        guarded([] { help::context(5); })();
        guarded([] { help::contents(); })();
        guarded([] { help::search(); })();
        QCOMPARE(user.shown.size(), 3);
        for (const auto &box : user.shown) {
            QCOMPARE(box.kind, MessageKind::Error);
            QVERIFY2(box.text.startsWith(QStringLiteral("I/O error")), qPrintable(box.text));
        }
        QVERIFY(!helpWindow() || !helpWindow()->isVisible());
        QCOMPARE(workingDirectory(), QDir(mWork.path()).canonicalPath());
    }

    void missingTopicsAreReportedAndNothingOpens()
    {
        test::ScriptedUser user;
        appState().ProgramDir = mWork.path() + QLatin1Char('/'); // exists, but holds no help
        help::context(38);
        QCOMPARE(user.texts().size(), 1);
        QVERIFY(user.texts().first().startsWith(QStringLiteral("Cannot find the help topics")));
        QVERIFY(!helpWindow() || !helpWindow()->isVisible());
        QCOMPARE(workingDirectory(), QDir(mWork.path()).canonicalPath());
    }

    void vanishedWorkingDirectoryRaisesOnTheWayBack()
    {
        QTemporaryDir doomed;
        setWorkingDirectory(doomed.path());
        QVERIFY(doomed.remove());
        QVERIFY_THROWS_EXCEPTION(InOutError, help::context(38));
        // The help was opened before the way back failed.
        QVERIFY(helpWindow() && helpWindow()->isVisible());
        QCOMPARE(helpWindow()->currentTopic(), QStringLiteral("38.html"));
    }

    void installedLayoutIsFoundBesideTheProgram()
    {
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/pelorin/help")));
        const QString topics = prefix.path() + QStringLiteral("/share/pelorin/help/");
        for (const QString &name : {QStringLiteral("index.html"), QStringLiteral("7.html")})
            QVERIFY(QFile::copy(kBuiltProgramDir + QStringLiteral("help/") + name, topics + name));
        appState().ProgramDir = prefix.path() + QStringLiteral("/bin/");
        QCOMPARE(help::topicDirectory(appState().ProgramDir), QStringLiteral("../share/pelorin/help/"));
        help::context(7);
        QCOMPARE(helpWindow()->currentTopic(), QStringLiteral("7.html"));
        QCOMPARE(QDir(helpWindow()->topicDirectory()).canonicalPath(), QDir(topics).canonicalPath());
        QCOMPARE(workingDirectory(), QDir(mWork.path()).canonicalPath());
    }

    void f1OpensTheTopicOfTheFocusedControlOrItsParent()
    {
        QWidget window;
        window.setProperty("helpContext", 4);
        auto *panel = new QWidget(&window);
        panel->setProperty("helpContext", 16);
        auto *inPanel = new QLineEdit(panel);
        auto *plain = new QLineEdit(&window);
        plain->move(0, 40);
        help::installContextHelp(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        inPanel->setFocus();
        QTest::keyClick(inPanel, Qt::Key_F1);
        QVERIFY(helpWindow() && helpWindow()->isVisible());
        QCOMPARE(helpWindow()->currentTopic(), QStringLiteral("16.html"));
        QCOMPARE(workingDirectory(), QDir(mWork.path()).canonicalPath());

        window.activateWindow();
        plain->setFocus();
        QTest::keyClick(plain, Qt::Key_F1);
        QCOMPARE(helpWindow()->currentTopic(), QStringLiteral("4.html"));
    }

    void f1OnAHighlightedMenuItemOpensItsTopic()
    {
        QWidget window;
        help::installContextHelp(&window);
        QMenu menu(&window);
        menu.setProperty("helpContext", 21);
        QAction *withOwn = menu.addAction(QStringLiteral("&Copy"));
        withOwn->setProperty("helpContext", 16);
        QAction *without = menu.addAction(QStringLiteral("S&earch"));
        window.show();
        menu.popup(window.mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(menu.isVisible());

        menu.setActiveAction(withOwn);
        QTest::keyClick(&menu, Qt::Key_F1);
        QCOMPARE(helpWindow()->currentTopic(), QStringLiteral("16.html"));
        QVERIFY(!menu.isVisible()); // the menu closes for the help

        menu.popup(window.mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(menu.isVisible());
        QCOMPARE(QApplication::activePopupWidget(), &menu);
        menu.setActiveAction(without);
        QTest::keyClick(&menu, Qt::Key_F1);
        QCOMPARE(helpWindow()->currentTopic(), QStringLiteral("21.html"));
    }

    void helpStaysUsableBesideAModalDialogAndOutlivesIt()
    {
        auto dialog = std::make_unique<QDialog>();
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
        QCOMPARE(QApplication::activeModalWidget(), dialog.get());
        help::context(38);
        // A window outside the modal dialog would take no input; the help joins it.
        QPointer<THelpWindow> help = helpWindow();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->parentWidget(), dialog.get());
        QCOMPARE(help->currentTopic(), QStringLiteral("38.html"));
        // Closing and destroying the dialog leaves the help open as a window of its own.
        dialog->hide();
        dialog.reset();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QCOMPARE(help->parentWidget(), nullptr);
        help::context(14);
        QCOMPARE(helpWindow(), help.data());
        QCOMPARE(help->currentTopic(), QStringLiteral("14.html"));
        QCOMPARE(helpWindowCount(), 1);
    }

    void f1ElsewhereIsLeftAlone()
    {
        QWidget other;
        auto *edit = new QLineEdit(&other);
        other.show();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F1);
        QVERIFY(!helpWindow() || !helpWindow()->isVisible());
    }

private:
    QTemporaryDir mWork;
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
