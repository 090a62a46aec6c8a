#include <QImage>
#include <QTest>

class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void everyIconIsBundledAndDrawn_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"move", "copy", "delete", "rename", "search", "print", "printsetup", "view", "clipboard",
                                 "thumbsize", "help", "stop", "exit", "liststyle", "iconstyle", "pelorin", "bulb"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void everyIconIsBundledAndDrawn()
    {
        QFETCH(QString, name);
        const QImage image(QStringLiteral(":/icons/%1.png").arg(name));
        QVERIFY2(!image.isNull(), qPrintable(name));
        QVERIFY(image.width() >= 32);
        // Not blank: some pixels are opaque and they are not all one colour.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                if (qAlpha(image.pixel(x, y)) > 128)
                    colours.insert(image.pixel(x, y));
        QVERIFY(colours.size() > 3);
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
