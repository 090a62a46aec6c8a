// imgtool on the command line: exit codes, what it prints, conversions that read back,
// and no crash or hang on any broken corpus file.

#include "corpusmanifest.h"
#include "messagelog.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QStringList lines;
};

Run imgtool(const QStringList &args)
{
    QProcess process;
    process.setProgram(QStringLiteral(PELORIN_BINARY_DIR "/imgtool"));
    process.setArguments(args);
    process.start();
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.lines = QStringList{QStringLiteral("(hung)")};
        return run;
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        run.lines = QStringList{QStringLiteral("(crashed)")};
        return run;
    }
    run.exitCode = process.exitCode();
    run.lines = QString::fromLocal8Bit(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}

QString corpus(const QString &relative)
{
    return pelorin::test::corpusDir() + QLatin1Char('/') + relative;
}

} // namespace

class ImgtoolTest : public QObject
{
    Q_OBJECT

private slots:
    void info_data();
    void info();
    void convertReadsBack_data();
    void convertReadsBack();
    void brokenFilesNeverCrash();
};

void ImgtoolTest::info_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("lines");
    const QString pal8 = corpus(QStringLiteral("bmp/bmpsuite-2.8/g/pal8.bmp"));
    const QString rgb24 = corpus(QStringLiteral("bmp/bmpsuite-2.8/g/rgb24.bmp"));
    QTest::newRow("palette bmp") << QStringList{QStringLiteral("info"), pal8} << 0
                                 << QStringList{QStringLiteral("127x64 depth=8")};
    QTest::newRow("true colour") << QStringList{QStringLiteral("info"), rgb24} << 0
                                 << QStringList{QStringLiteral("127x64 depth=24")};
    QTest::newRow("on 16 colours") << QStringList{QStringLiteral("info"), rgb24, QStringLiteral("--display-depth"), QStringLiteral("4")}
                                   << 0 << QStringList{QStringLiteral("127x64 depth=4")};
    QTest::newRow("truncated") << QStringList{QStringLiteral("info"), corpus(QStringLiteral("bmp/bmpsuite-2.8/b/shortfile.bmp"))}
                               << 1
                               << QStringList{QStringLiteral("file truncated"), QStringLiteral("Reading bmp file failed"),
                                              QStringLiteral("127x64 depth=1")};
    QTest::newRow("missing") << QStringList{QStringLiteral("info"), QStringLiteral("/no/such/file.bmp")} << 1
                             << QStringList{QStringLiteral("empty")};
    QTest::newRow("icon") << QStringList{QStringLiteral("info"), corpus(QStringLiteral("ico/pillow/pillow.ico"))} << 0
                          << QStringList{QStringLiteral("32x32 depth=24")};
    QTest::newRow("no file") << QStringList{QStringLiteral("info")} << 2 << QStringList{};
    QTest::newRow("bad depth") << QStringList{QStringLiteral("info"), pal8, QStringLiteral("--display-depth"), QStringLiteral("x")}
                               << 2 << QStringList{};
    QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate")} << 2 << QStringList{};
}

void ImgtoolTest::info()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QStringList, lines);
    const Run run = imgtool(args);
    QCOMPARE(run.lines, lines);
    QCOMPARE(run.exitCode, exitCode);
}

void ImgtoolTest::convertReadsBack_data()
{
    QTest::addColumn<QString>("out");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bmp 16 colours") << "o.bmp" << QStringList{QStringLiteral("--depth"), QStringLiteral("16")} << "128x128 depth=4";
    QTest::newRow("png 256 colours") << "o.png" << QStringList{QStringLiteral("--depth"), QStringLiteral("256")} << "128x128 depth=8";
    QTest::newRow("jpg mono") << "o.jpg" << QStringList{QStringLiteral("--depth"), QStringLiteral("mono"), QStringLiteral("--jpeg-quality"), QStringLiteral("90")} << "128x128 depth=8";
    QTest::newRow("gif true colour") << "o.gif" << QStringList{QStringLiteral("--depth"), QStringLiteral("true")} << "128x128 depth=8";
    QTest::newRow("tif packbits") << "o.tif" << QStringList{QStringLiteral("--depth"), QStringLiteral("true"), QStringLiteral("--tiff-compress"), QStringLiteral("packbits")} << "128x128 depth=24";
    QTest::newRow("pcx vga") << "o.pcx" << QStringList{QStringLiteral("--depth"), QStringLiteral("vga")} << "128x128 depth=4";
    QTest::newRow("icon to bmp") << "i.bmp" << QStringList{QStringLiteral("--depth"), QStringLiteral("true")} << "32x32 depth=24";
}

void ImgtoolTest::convertReadsBack()
{
    QFETCH(QString, out);
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString source = out.startsWith(QLatin1Char('i')) ? corpus(QStringLiteral("ico/pillow/pillow.ico"))
                                                            : corpus(QStringLiteral("jpeg/pillow/hopper.jpg"));
    const QString target = dir.filePath(out);
    const Run converted = imgtool(QStringList{QStringLiteral("convert"), source, target} + options);
    QCOMPARE(converted.lines, QStringList());
    QCOMPARE(converted.exitCode, 0);
    const Run info = imgtool({QStringLiteral("info"), target});
    QCOMPARE(info.lines, QStringList{expected});
    QCOMPARE(info.exitCode, 0);
}

void ImgtoolTest::brokenFilesNeverCrash()
{
    const QList<pelorin::test::CorpusFile> files = pelorin::test::corpusFiles(
        {QStringLiteral("bmp"), QStringLiteral("gif"), QStringLiteral("ico"), QStringLiteral("jpeg"),
         QStringLiteral("png"), QStringLiteral("tiff"), QStringLiteral("pcx"), QStringLiteral("wmf"),
         QStringLiteral("emf")});
    int checked = 0;
    for (const pelorin::test::CorpusFile &file : files) {
        if (file.category != QLatin1String("invalid"))
            continue;
        const Run run = imgtool({QStringLiteral("info"), corpus(file.path)});
        QVERIFY2(run.exitCode == 0 || run.exitCode == 1, qPrintable(file.path + QLatin1Char(' ') + run.lines.join(QLatin1Char('|'))));
        ++checked;
    }
    QVERIFY(checked > 0);
}

QTEST_GUILESS_MAIN(ImgtoolTest)
#include "test_imgtool.moc"
