#include "browse/captionorder.h"
#include "browse/listpresentation.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace pelorin;

class TestListPresentation : public QObject
{
    Q_OBJECT
private slots:
    void sizeText_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << qint64(0) << "0 Bytes";
        QTest::newRow("limit") << qint64(1024) << "1024 Bytes";
        QTest::newRow("just above") << qint64(1025) << "1K";
        QTest::newRow("half up to even") << qint64(1536) << "2K";
        QTest::newRow("below half") << qint64(2047) << "2K";
        QTest::newRow("half down to even") << qint64(2560) << "2K";
        QTest::newRow("half up to four") << qint64(3584) << "4K";
        QTest::newRow("above 4 GiB") << qint64(5) * 1024 * 1024 * 1024 << "5242880K";
    }
    void sizeText()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, expected);
        QCOMPARE(pelorin::sizeText(bytes), expected);
    }

    void dateText_data()
    {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale c(QLocale::C);
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("expected");
        QTest::newRow("afternoon") << us << QTime(13, 45, 30) << "3/5/24 1:45:30 PM";
        QTest::newRow("odd second cut to even") << us << QTime(13, 45, 31, 900) << "3/5/24 1:45:30 PM";
        QTest::newRow("midnight") << us << QTime(0, 0) << "3/5/24";
        QTest::newRow("one second past midnight") << us << QTime(0, 0, 1) << "3/5/24";
        QTest::newRow("two seconds past midnight") << us << QTime(0, 0, 2) << "3/5/24 12:00:02 AM";
        QTest::newRow("C locale, no zone name") << c << QTime(9, 5, 4) << "5 Mar 2024 09:05:04";
    }
    void dateText()
    {
        QFETCH(QLocale, locale);
        QFETCH(QTime, time);
        QFETCH(QString, expected);
        QCOMPARE(pelorin::dateText(QDateTime(QDate(2024, 3, 5), time), locale), expected);
    }

    void columnsOfAFileAndOfAVanishedOne()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bmp"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1536, 'x'));
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(QDateTime(QDate(2023, 12, 31), QTime(0, 0)), QFileDevice::FileModificationTime));
        file.close();
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const ListColumns columns = listColumns(path, us);
        QCOMPARE(columns.size, QStringLiteral("2K"));
        QCOMPARE(columns.date, QStringLiteral("12/31/23"));

        QVERIFY(QFile::remove(path));
        const ListColumns gone = listColumns(path, us);
        QVERIFY(gone.size.isEmpty() && gone.date.isEmpty());
        QVERIFY(listColumns(dir.path(), us).size.isEmpty()); // a directory is no file
    }

    // Captions sort alphabetically, and a lower-case letter comes before its upper-case
    // form, also where the system locale is C (which would put every capital first).
    void captionOrder()
    {
        QStringList captions{QStringLiteral("B.jpg"), QStringLiteral("b.jpg"), QStringLiteral("A.jpg"),
                             QStringLiteral("ab.jpg"), QStringLiteral("a.jpg"), QStringLiteral("Ab.jpg"),
                             QStringLiteral("aB.jpg")};
        std::sort(captions.begin(), captions.end(),
                  [](const QString &x, const QString &y) { return compareCaptions(x, y) < 0; });
        const QStringList expected{QStringLiteral("a.jpg"), QStringLiteral("A.jpg"), QStringLiteral("ab.jpg"),
                                   QStringLiteral("aB.jpg"), QStringLiteral("Ab.jpg"), QStringLiteral("b.jpg"),
                                   QStringLiteral("B.jpg")};
        QCOMPARE(captions, expected);
        QCOMPARE(compareCaptions(QStringLiteral("x.png"), QStringLiteral("x.png")), 0);
    }
};

QTEST_GUILESS_MAIN(TestListPresentation)
#include "test_listpresentation.moc"
