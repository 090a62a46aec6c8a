#pragma once
// The scripted user: stands in for the person at the screen in tests. It records every
// message box that was shown, answers from a queue (the default button when the queue
// is empty) and runs modal dialogs by a script keyed by the dialog's object name.
// Constructing one installs it; destroying it puts the previous service back.

#include "platform/dialogs.h"

#include "messagelog.h"

#include <QMap>

#include <functional>

namespace pelorin::test {

class ScriptedUser final : public Dialogs, public MessageLog
{
public:
    ScriptedUser();
    ~ScriptedUser() override;

    // A script for the modal dialog with this object name. The dialog is shown (so its
    // show and activation handlers run), the script fills it and clicks a button, and
    // exec returns the dialog's result. A dialog without a script is cancelled.
    using DialogScript = std::function<void(QDialog &)>;
    void onDialog(const QString &objectName, DialogScript script) { mScripts.insert(objectName, std::move(script)); }
    QStringList dialogsRun; // object names, in order

    // Answers of the system dialogs; empty or false means the user cancelled.
    QString nextDirectory;
    QString nextSaveFile;
    bool printAccepted = true;
    std::function<void(QPrinter &)> printScript; // set up the printer (output file...)
    std::function<bool(QFont &)> fontScript;

    Answer message(MessageKind kind, const QString &text, Buttons buttons, const QString &title) override;
    int exec(QDialog &dialog) override;
    QString chooseDirectory(QWidget *parent, const QString &title, const QString &start) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &start, const QString &filter) override;
    bool printDialog(QWidget *parent, QPrinter &printer) override;
    bool printerSetup(QWidget *parent, QPrinter &printer) override;
    bool fontDialog(QWidget *parent, QFont &font) override;

private:
    QMap<QString, DialogScript> mScripts;
};

} // namespace pelorin::test
