#include "browse/thumbsizeform.h"
#include "platform/error.h"
#include "shell/appstate.h"
#include "scripteduser.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace pelorin;

namespace {

QLineEdit *edit(QDialog &d, const char *name)
{
    return d.findChild<QLineEdit *>(QString::fromLatin1(name));
}

} // namespace

class TestThumbSizeForm : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        appState().ThumbWidth = 70;
        appState().ThumbHeight = 60;
    }

    void okButton_data()
    {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<int>("expectedWidth");
        QTest::addColumn<int>("expectedHeight");
        QTest::addColumn<QStringList>("messages");
        const QStringList range{QStringLiteral("Image Width Value Must Be In Range 20 To 150")};
        QTest::newRow("width 19") << "19" << "70" << 70 << 60 << range;
        QTest::newRow("height 151") << "70" << "151" << 70 << 60 << range;
        QTest::newRow("lower bounds") << "20" << "20" << 20 << 20 << QStringList();
        QTest::newRow("upper bounds") << "150" << "150" << 150 << 150 << QStringList();
        QTest::newRow("empty width") << "" << "90" << 70 << 60
                                     << QStringList{QStringLiteral("'' is not a valid integer value")};
        QTest::newRow("empty height") << "90" << "" << 70 << 60
                                      << QStringList{QStringLiteral("'' is not a valid integer value")};
    }
    // Whatever OK finds, the dialog closes with OK (the caller lists again); only valid
    // sizes are stored, and a bad one is explained in an error box.
    void okButton()
    {
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(int, expectedWidth);
        QFETCH(int, expectedHeight);
        QFETCH(QStringList, messages);
        test::ScriptedUser user;
        TThumbSizeForm form;
        user.onDialog(QStringLiteral("ThumbSizeForm"), [&](QDialog &d) {
            QCOMPARE(edit(d, "Edit1")->text(), QStringLiteral("70"));
            QCOMPARE(edit(d, "Edit2")->text(), QStringLiteral("60"));
            for (auto [name, text] : {std::pair{"Edit1", width}, std::pair{"Edit2", height}}) {
                edit(d, name)->clear();
                QTest::keyClicks(edit(d, name), text);
            }
            QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("OkButton")), Qt::LeftButton);
        });
        QCOMPARE(dialogs().exec(form), int(QDialog::Accepted));
        QCOMPARE(appState().ThumbWidth, expectedWidth);
        QCOMPARE(appState().ThumbHeight, expectedHeight);
        QCOMPARE(user.texts(), messages);
        for (const test::ShownMessage &m : user.shown)
            QCOMPARE(m.kind, MessageKind::Error);
    }

    // Digits only, three at most; Backspace still works on a full edit; the arrows
    // step within 40 to 150.
    void keyFilterAndArrows()
    {
        test::ScriptedUser user;
        TThumbSizeForm form;
        user.onDialog(QStringLiteral("ThumbSizeForm"), [&](QDialog &d) {
            QLineEdit *width = edit(d, "Edit1");
            width->clear();
            QTest::keyClicks(width, QStringLiteral("1a -2.x34"));
            QCOMPARE(width->text(), QStringLiteral("123"));
            QTest::keyClick(width, Qt::Key_Backspace);
            QCOMPARE(width->text(), QStringLiteral("12"));
            QTest::keyClicks(width, QStringLiteral("99"));
            QCOMPARE(width->text(), QStringLiteral("129"));
            QTest::keyClick(width, Qt::Key_Up);
            QCOMPARE(width->text(), QStringLiteral("130"));
            width->setText(QStringLiteral("150"));
            QTest::keyClick(width, Qt::Key_Up);
            QCOMPARE(width->text(), QStringLiteral("150"));
            QLineEdit *height = edit(d, "Edit2");
            height->setText(QStringLiteral("41"));
            const QList<QToolButton *> arrows = d.findChild<QWidget *>(QStringLiteral("UpDown2"))->findChildren<QToolButton *>();
            QCOMPARE(arrows.size(), 2);
            QTest::mouseClick(arrows.at(1), Qt::LeftButton);
            QTest::mouseClick(arrows.at(1), Qt::LeftButton);
            QCOMPARE(height->text(), QStringLiteral("40"));
            d.reject();
        });
        QCOMPARE(dialogs().exec(form), int(QDialog::Rejected));
        QCOMPARE(appState().ThumbWidth, 70);
        QVERIFY(user.shown.isEmpty());
    }

    void integerConversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << "42" << 42 << true;
        QTest::newRow("blanks and sign") << "  -7" << -7 << true;
        QTest::newRow("hex") << "$1F" << 31 << true;
        QTest::newRow("empty") << "" << 0 << false;
        QTest::newRow("trailing blank") << "4 " << 0 << false;
        QTest::newRow("too big") << "99999999999" << 0 << false;
    }
    void integerConversion()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(bool, valid);
        try {
            QCOMPARE(strToInt(text), value);
            QVERIFY(valid);
        } catch (const Error &e) {
            QVERIFY(!valid);
            QCOMPARE(e.text(), QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }
};

QTEST_MAIN(TestThumbSizeForm)
#include "test_thumbsizeform.moc"
