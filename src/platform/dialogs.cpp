#include "platform/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace pelorin {

namespace {
RealDialogs realDialogs;
Dialogs *currentDialogs = nullptr;
} // namespace

Dialogs &dialogs()
{
    return currentDialogs ? *currentDialogs : realDialogs;
}

void setDialogs(Dialogs *service)
{
    currentDialogs = service;
    setUser(service ? service : static_cast<User *>(&realDialogs));
}

Answer RealDialogs::message(MessageKind kind, const QString &text, Buttons buttons, const QString &title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setText(text);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    box.setIcon(kind == MessageKind::Error         ? QMessageBox::Critical
                : kind == MessageKind::Information ? QMessageBox::Information
                                                   : QMessageBox::Question);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case Buttons::NoOk:
        box.setStandardButtons(QMessageBox::No | QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

int RealDialogs::exec(QDialog &dialog)
{
    return dialog.exec();
}

QString RealDialogs::chooseDirectory(QWidget *parent, const QString &title, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, title, start);
}

QString RealDialogs::saveFileName(QWidget *parent, const QString &title, const QString &start, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, start, filter);
}

bool RealDialogs::printDialog(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool RealDialogs::printerSetup(QWidget *parent, QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool RealDialogs::fontDialog(QWidget *parent, QFont &font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parent);
    if (ok)
        font = chosen;
    return ok;
}

} // namespace pelorin
