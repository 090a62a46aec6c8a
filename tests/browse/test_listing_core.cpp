#include "browse/listing.h"
#include "platform/error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pelorin;

namespace {

void makeFile(const QString &dir, const QString &name, qint64 size = 10)
{
    QFile file(dir + QLatin1Char('/') + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(size));
}

QStringList collect(const QString &dir, const QString &extension, SizeLimit limit = {})
{
    QStringList names;
    CollectFiles(dir, extension, limit, names);
    names.sort();
    return names;
}

} // namespace

class TestListingCore : public QObject
{
    Q_OBJECT
private slots:
    void collectsMatchingFilesOnly()
    {
        QTemporaryDir dir;
        makeFile(dir.path(), QStringLiteral("a.bmp"));
        makeFile(dir.path(), QStringLiteral("A.BMP"));
        makeFile(dir.path(), QStringLiteral("b.Bmp"));
        makeFile(dir.path(), QStringLiteral(".hidden.bmp"));
        makeFile(dir.path(), QStringLiteral("c.bmpx"));
        makeFile(dir.path(), QStringLiteral("bmp"));
        makeFile(dir.path(), QStringLiteral("d.gif"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("x.bmp")));
        QVERIFY(QFile::link(dir.path() + QStringLiteral("/a.bmp"), dir.path() + QStringLiteral("/link.bmp")));
        QVERIFY(QFile::link(dir.path() + QStringLiteral("/x.bmp"), dir.path() + QStringLiteral("/dirlink.bmp")));

        QCOMPARE(collect(dir.path(), QStringLiteral("bmp")),
                 (QStringList{QStringLiteral(".hidden.bmp"), QStringLiteral("A.BMP"), QStringLiteral("a.bmp"),
                              QStringLiteral("b.Bmp"), QStringLiteral("link.bmp")}));
        QCOMPARE(collect(dir.path(), QStringLiteral("gif")), QStringList{QStringLiteral("d.gif")});
        QCOMPARE(collect(dir.path(), QStringLiteral("png")), QStringList{});
    }

    void sizeLimitIsStrict()
    {
        QTemporaryDir dir;
        makeFile(dir.path(), QStringLiteral("under.bmp"), 100 * 1024 - 1);
        makeFile(dir.path(), QStringLiteral("exact.bmp"), 100 * 1024);
        makeFile(dir.path(), QStringLiteral("empty.bmp"), 0);
        QCOMPARE(collect(dir.path(), QStringLiteral("bmp"), {true, 100}),
                 (QStringList{QStringLiteral("empty.bmp"), QStringLiteral("under.bmp")}));
        QCOMPARE(collect(dir.path(), QStringLiteral("bmp"), {false, 100}).size(), 3);
    }

    void appendsAndKeepsEarlierNames()
    {
        QTemporaryDir dir;
        makeFile(dir.path(), QStringLiteral("a.png"));
        QStringList names{QStringLiteral("earlier.bmp")};
        CollectFiles(dir.path(), QStringLiteral("png"), {}, names);
        QCOMPARE(names, (QStringList{QStringLiteral("earlier.bmp"), QStringLiteral("a.png")}));
    }

    void missingDirectoryRaises()
    {
        QTemporaryDir dir;
        QStringList names;
        QVERIFY_THROWS_EXCEPTION(InOutError, CollectFiles(dir.path() + QStringLiteral("/gone"), QStringLiteral("bmp"), {}, names));
        QVERIFY(names.isEmpty());
    }

    void extensionsOfFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("empty counts as bmp") << QString() << QStringList{QStringLiteral("bmp")};
        QTest::newRow("one type") << QStringLiteral("tif") << QStringList{QStringLiteral("tif")};
        QTest::newRow("all") << QStringLiteral("all")
                             << QString::fromLatin1("bmp gif ico jpg pcx png tif wmf emf dib").split(QLatin1Char(' '));
    }
    void extensionsOfFilter()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(listingExtensions(filter), expected);
    }

    void progressRoundsHalfToEven_data()
    {
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("expected");
        QTest::newRow("1/8 = 12.5") << 1 << 8 << 12;
        QTest::newRow("3/8 = 37.5") << 3 << 8 << 38;
        QTest::newRow("1/200 = 0.5") << 1 << 200 << 0;
        QTest::newRow("3/200 = 1.5") << 3 << 200 << 2;
        QTest::newRow("2/3 = 66.7") << 2 << 3 << 67;
        QTest::newRow("1/3 = 33.3") << 1 << 3 << 33;
        QTest::newRow("99/100") << 99 << 100 << 99;
        QTest::newRow("large count") << 9999 << 10000 << 100;
    }
    void progressRoundsHalfToEven()
    {
        QFETCH(int, i);
        QFETCH(int, count);
        QFETCH(int, expected);
        QCOMPARE(progressPercent(i, count), expected);
    }

    void countText()
    {
        QCOMPARE(fileCountText(0), QStringLiteral("0 Files"));
        QCOMPARE(fileCountText(1), QStringLiteral("1 File"));
        QCOMPARE(fileCountText(100), QStringLiteral("100 Files"));
    }
};

QTEST_GUILESS_MAIN(TestListingCore)
#include "test_listing_core.moc"
