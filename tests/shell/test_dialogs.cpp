#include "platform/workdir.h"
#include "shell/aboutbox.h"
#include "shell/appstate.h"
#include "shell/helpwindow.h"
#include "shell/maxsizeform.h"
#include "shell/tipform.h"
#include "shell/updown.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QToolButton>

using namespace pelorin;

namespace {

QString shownHelpTopic()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *help = qobject_cast<THelpWindow *>(w); help && help->isVisible())
            return help->currentTopic();
    return {};
}

} // namespace

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

    void tipTableHoldsTheTwentyFiveTips()
    {
        for (int number = 1; number <= TTipForm::kTipCount; ++number)
            QVERIFY2(!TTipForm::tipText(number).isEmpty(), qPrintable(QString::number(number)));
        QCOMPARE(TTipForm::tipText(25), QStringLiteral("Reality is an illusion of the imagination!"));
        QCOMPARE(TTipForm::tipText(10),
                 QStringLiteral("Adjust the size of the thumbnail images by selecting the Image/ Thumbnail size option"));
        QVERIFY(TTipForm::tipText(0).isEmpty());
        QVERIFY(TTipForm::tipText(26).isEmpty());
    }

    void tipStartsWithOneOfTheFirstTwentyTwo()
    {
        QCOMPARE(TTipForm::startIndex(0), 1);
        QCOMPARE(TTipForm::startIndex(1), 1);
        QCOMPARE(TTipForm::startIndex(22), 22);
        QSet<int> seen;
        for (int i = 0; i < 300; ++i) {
            TTipForm form(nullptr);
            QVERIFY(form.tipIndex() >= 1 && form.tipIndex() <= 22);
            QCOMPARE(form.findChild<QLabel *>(QStringLiteral("TipLabel"))->text(), TTipForm::tipText(form.tipIndex()));
            seen.insert(form.tipIndex());
        }
        QVERIFY(seen.size() > 10); // really drawn at random
    }

    void nextAndPreviousWrapAround()
    {
        QWidget owner;
        TTipForm form(&owner);
        QCOMPARE(form.objectName(), QStringLiteral("TipForm"));
        QCOMPARE(form.parentWidget(), &owner);
        auto *next = form.findChild<QPushButton *>(QStringLiteral("NextButton"));
        auto *previous = form.findChild<QPushButton *>(QStringLiteral("PreviuosButton"));
        auto *label = form.findChild<QLabel *>(QStringLiteral("TipLabel"));
        QVERIFY(next && previous && label);
        while (form.tipIndex() != 25)
            next->click();
        QCOMPARE(label->text(), TTipForm::tipText(25));
        next->click();
        QCOMPARE(form.tipIndex(), 1);
        QCOMPARE(label->text(), TTipForm::tipText(1));
        previous->click();
        QCOMPARE(form.tipIndex(), 25);
        previous->click();
        QCOMPARE(form.tipIndex(), 24);
        QCOMPARE(label->text(), TTipForm::tipText(24));
    }

    void showTipsCheckIsReadAfterClosing()
    {
        TTipForm form(nullptr);
        QVERIFY(form.showTipsAtStartUp());
        form.show();
        form.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->click();
        form.findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
        QVERIFY(!form.isVisible());
        QVERIFY(!form.showTipsAtStartUp());
    }

    void maxSizeStartsFromTheSettings_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("saved");
        QTest::addColumn<int>("position");
        QTest::newRow("default") << false << 100 << 100;
        QTest::newRow("250 on") << true << 250 << 250;
        QTest::newRow("below range") << true << 20 << 50;
        QTest::newRow("above range") << false << 40000 << 32000;
    }
    void maxSizeStartsFromTheSettings()
    {
        QFETCH(bool, enabled);
        QFETCH(int, saved);
        QFETCH(int, position);
        TMaxSizeForm form(enabled, saved);
        QCOMPARE(form.limitEnabled(), enabled);
        QCOMPARE(form.limitKilobytes(), position);
        QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("SizeEdit"))->text(), QString::number(position));
    }

    void maxSizeKeyFilterLetsOnlyDigitsBackspaceAndEnterThrough()
    {
        TMaxSizeForm form(false, 100);
        auto *edit = form.findChild<QLineEdit *>(QStringLiteral("SizeEdit"));
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("1a2 -b.3x,"));
        QCOMPARE(edit->text(), QStringLiteral("123"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("12"));
        QTest::keyClicks(edit, QStringLiteral("34567890")); // no length limit
        QCOMPARE(edit->text(), QStringLiteral("1234567890"));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier); // paste is a typed character too
        QCOMPARE(edit->text(), QStringLiteral("1234567890"));

        // Enter reaches the dialog: the default button closes it.
        form.show();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }

    void maxSizeTakesOnlyTypedValuesInRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("limit");
        QTest::newRow("250") << QStringLiteral("250") << 250;
        QTest::newRow("lower bound") << QStringLiteral("50") << 50;
        QTest::newRow("upper bound") << QStringLiteral("32000") << 32000;
        QTest::newRow("20 is below") << QStringLiteral("20") << 300;
        QTest::newRow("32001 is above") << QStringLiteral("32001") << 300;
        QTest::newRow("empty") << QString() << 300;
        QTest::newRow("huge") << QStringLiteral("99999999999999") << 300;
    }
    void maxSizeTakesOnlyTypedValuesInRange()
    {
        QFETCH(QString, typed);
        QFETCH(int, limit);
        TMaxSizeForm form(true, 300);
        auto *edit = form.findChild<QLineEdit *>(QStringLiteral("SizeEdit"));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
        QCOMPARE(form.limitKilobytes(), limit);
        // A rejected value stays rejected: the previous limit is still the one in force.
        QCOMPARE(form.limitKilobytes(), limit);
    }

    void maxSizeArrowsStepFromTheTypedValueWithinTheRange()
    {
        TMaxSizeForm form(false, 100);
        auto *edit = form.findChild<QLineEdit *>(QStringLiteral("SizeEdit"));
        auto *upDown = form.findChild<TUpDown *>(QStringLiteral("UpDown1"));
        QVERIFY(upDown);
        edit->setText(QStringLiteral("31999"));
        QTest::keyClick(edit, Qt::Key_Up);
        QCOMPARE(edit->text(), QStringLiteral("32000"));
        QTest::keyClick(edit, Qt::Key_Up); // no wrap
        QCOMPARE(form.limitKilobytes(), 32000);
        edit->setText(QStringLiteral("7")); // out of range: steps from the previous position
        upDown->stepBy(-1);
        QCOMPARE(edit->text(), QStringLiteral("31999"));
        upDown->setPosition(10);
        QCOMPARE(form.limitKilobytes(), 50);
        const auto arrows = upDown->findChildren<QToolButton *>();
        QCOMPARE(arrows.size(), 2);
        edit->setText(QStringLiteral("250"));
        arrows.first()->click(); // the upper arrow steps from the typed value
        QCOMPARE(edit->text(), QStringLiteral("251"));
        arrows.last()->click();
        arrows.last()->click();
        QCOMPARE(form.limitKilobytes(), 249);
    }

    void helpItemsOpenTheDialogsTopic()
    {
        appState().ProgramDir = QStringLiteral(PELORIN_BINARY_DIR "/");
        const QString before = workingDirectory();
        TMaxSizeForm maxSize(false, 100);
        maxSize.findChild<QAction *>(QStringLiteral("WhatsThis1"))->trigger();
        QCOMPARE(shownHelpTopic(), QStringLiteral("38.html"));
        TAboutBox about(nullptr);
        about.findChild<QAction *>(QStringLiteral("WhatsThis1"))->trigger();
        QCOMPARE(shownHelpTopic(), QStringLiteral("32.html"));
        maxSize.findChild<QPushButton *>(QStringLiteral("HelpButton"))->click();
        QCOMPARE(shownHelpTopic(), QStringLiteral("38.html"));
        QCOMPARE(workingDirectory(), before);
    }

    void dialogsCarryTheirCaptionsAndNames()
    {
        TMaxSizeForm maxSize(false, 100);
        QCOMPARE(maxSize.objectName(), QStringLiteral("MaxSizeForm"));
        QCOMPARE(maxSize.windowTitle(), QStringLiteral("Maximum Size"));
        QCOMPARE(maxSize.size(), QSize(243, 183));
        for (const char *name : {"Label1", "SizeEdit", "UpDown1", "Label2", "CheckBox1", "OKButton", "HelpButton"})
            QVERIFY2(maxSize.findChild<QWidget *>(QString::fromLatin1(name)), name);
        QVERIFY(maxSize.findChild<QAction *>(QStringLiteral("WhatsThis1")));

        QWidget owner;
        TAboutBox about(&owner);
        QCOMPARE(about.windowTitle(), QStringLiteral("About"));
        QCOMPARE(about.parentWidget(), &owner);
        QCOMPARE(about.size(), QSize(298, 216));
        QVERIFY(about.findChildren<QLabel *>().size() >= 3);
        bool hasVersion = false;
        for (auto *label : about.findChildren<QLabel *>())
            hasVersion = hasVersion || label->text() == QStringLiteral("Version 1.1C");
        QVERIFY(hasVersion);
        QVERIFY(about.findChild<QAction *>(QStringLiteral("WhatsThis1")));
        QVERIFY(about.findChild<QAction *>(QStringLiteral("Close1")));
        about.show();
        about.findChild<QPushButton *>(QStringLiteral("CloseButton"))->click();
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
