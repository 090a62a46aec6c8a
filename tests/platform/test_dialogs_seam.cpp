#include "platform/dialogs.h"
#include "scripteduser.h"

#include <QDialog>
#include <QLineEdit>
#include <QTest>

using namespace pelorin;

class TestDialogsSeam : public QObject
{
    Q_OBJECT
private slots:
    void scriptFillsTheDialogAndAnswers()
    {
        test::ScriptedUser user;
        QDialog dialog;
        dialog.setObjectName(QStringLiteral("SomeForm"));
        auto *edit = new QLineEdit(&dialog);
        user.onDialog(QStringLiteral("SomeForm"), [](QDialog &d) {
            d.findChild<QLineEdit *>()->setText(QStringLiteral("typed"));
            d.accept();
        });
        QCOMPARE(dialogs().exec(dialog), int(QDialog::Accepted));
        QCOMPARE(edit->text(), QStringLiteral("typed"));
        QCOMPARE(user.dialogsRun, QStringList{QStringLiteral("SomeForm")});
    }

    void unscriptedDialogIsCancelledAndQueuedAnswersAreUsed()
    {
        test::ScriptedUser user;
        QDialog dialog;
        QCOMPARE(dialogs().exec(dialog), int(QDialog::Rejected));
        user.answerNext(Answer::No);
        QCOMPARE(askConfirmation(QStringLiteral("Sure?"), Buttons::YesNo), Answer::No);
        QCOMPARE(askConfirmation(QStringLiteral("Again?"), Buttons::YesNo), Answer::Yes);
        QCOMPARE(user.texts(), (QStringList{QStringLiteral("Sure?"), QStringLiteral("Again?")}));
    }
};

QTEST_MAIN(TestDialogsSeam)
#include "test_dialogs_seam.moc"
