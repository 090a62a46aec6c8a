#include "platform/error.h"
#include "platform/workdir.h"
#include "messagelog.h"

#include <QTemporaryDir>
#include <QTest>

using namespace pelorin;

class TestWorkdir : public QObject
{
    Q_OBJECT
private slots:
    void includeBackslash_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("root") << "/" << "/";
        QTest::newRow("plain") << "/home/a" << "/home/a/";
        QTest::newRow("already") << "/home/a/" << "/home/a/";
        QTest::newRow("empty") << "" << "";
    }
    void includeBackslash()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(pelorin::includeBackslash(path), expected);
    }

    void guardRestoresAndMissingDirectoryRaises()
    {
        QTemporaryDir dir;
        const QString before = workingDirectory();
        {
            WorkingDirectoryGuard guard;
            setWorkingDirectory(dir.path());
            QCOMPARE(workingDirectory(), dir.path());
            QVERIFY_THROWS_EXCEPTION(InOutError, setWorkingDirectory(dir.path() + QStringLiteral("/missing")));
        }
        QCOMPARE(workingDirectory(), before);
    }

    void guardedHandlerShowsTheErrorText()
    {
        test::ScriptedMessages user;
        auto handler = guarded([] { throw Error(QStringLiteral("boom")); });
        handler();
        QCOMPARE(user.texts(), QStringList{QStringLiteral("boom")});
        QCOMPARE(user.shown.first().kind, MessageKind::Error);
    }
};

QTEST_GUILESS_MAIN(TestWorkdir)
#include "test_workdir.moc"
