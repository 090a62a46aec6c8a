#include "scripteduser.h"

#include <QCoreApplication>
#include <QDialog>

namespace pelorin::test {

ScriptedUser::ScriptedUser()
{
    setDialogs(this);
}

ScriptedUser::~ScriptedUser()
{
    setDialogs(nullptr);
}

Answer ScriptedUser::message(MessageKind kind, const QString &text, Buttons buttons, const QString &)
{
    return record(kind, text, buttons);
}

int ScriptedUser::exec(QDialog &dialog)
{
    dialogsRun.append(dialog.objectName());
    dialog.setResult(QDialog::Rejected);
    const auto script = mScripts.value(dialog.objectName());
    dialog.show();
    QCoreApplication::processEvents();
    if (script)
        script(dialog);
    else
        dialog.reject();
    dialog.hide();
    return dialog.result();
}

QString ScriptedUser::chooseDirectory(QWidget *, const QString &, const QString &)
{
    return std::exchange(nextDirectory, QString());
}

QString ScriptedUser::saveFileName(QWidget *, const QString &, const QString &, const QString &)
{
    return std::exchange(nextSaveFile, QString());
}

bool ScriptedUser::printDialog(QWidget *, QPrinter &printer)
{
    if (printScript)
        printScript(printer);
    return printAccepted;
}

bool ScriptedUser::printerSetup(QWidget *, QPrinter &printer)
{
    if (printScript)
        printScript(printer);
    return printAccepted;
}

bool ScriptedUser::fontDialog(QWidget *, QFont &font)
{
    return fontScript ? fontScript(font) : false;
}

} // namespace pelorin::test
