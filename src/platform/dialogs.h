#pragma once
// The widget half of the user seam: modal dialogs of ours and the system dialogs.
// Tests replace it with a script (tests/support/scripteduser.h) so nothing blocks.

#include "platform/user.h"

#include <QFont>
#include <QString>

class QDialog;
class QPrinter;
class QWidget;

namespace pelorin {

class Dialogs : public User
{
public:
    // Runs a dialog of ours modally; returns QDialog::Accepted or QDialog::Rejected.
    virtual int exec(QDialog &dialog) = 0;
    // System dialogs. An empty string or false means the user cancelled.
    virtual QString chooseDirectory(QWidget *parent, const QString &title, const QString &start) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &start, const QString &filter) = 0;
    virtual bool printDialog(QWidget *parent, QPrinter &printer) = 0;
    virtual bool printerSetup(QWidget *parent, QPrinter &printer) = 0;
    virtual bool fontDialog(QWidget *parent, QFont &font) = 0;
};

// The dialog service in force: the real one unless a test installed another.
Dialogs &dialogs();
// Installs a service for both halves of the seam (messages and dialogs); nullptr restores the real one.
void setDialogs(Dialogs *service);

// The real implementation with Qt's own boxes and dialogs.
class RealDialogs final : public Dialogs
{
public:
    Answer message(MessageKind kind, const QString &text, Buttons buttons, const QString &title) override;
    int exec(QDialog &dialog) override;
    QString chooseDirectory(QWidget *parent, const QString &title, const QString &start) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &start, const QString &filter) override;
    bool printDialog(QWidget *parent, QPrinter &printer) override;
    bool printerSetup(QWidget *parent, QPrinter &printer) override;
    bool fontDialog(QWidget *parent, QFont &font) override;
};

} // namespace pelorin
