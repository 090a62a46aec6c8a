#include "shell/mainform.h"

#include "browse/imagelistview.h"
#include "shell/panelstatusbar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>

namespace pelorin {

TMainForm *MainForm = nullptr;

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Pelorin"));
    setToolTip(QStringLiteral("Pelorin"));
    setAccessibleName(QStringLiteral("Pelorin"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);

    buildMainMenu();
    buildPopupMenus();
    buildPanels();
    connectHandlers();
    MainForm = this;
    FormCreate();
}

TMainForm::~TMainForm()
{
    // FormDestroy: the divider line is owned by the window and goes with it.
    if (MainForm == this)
        MainForm = nullptr;
}

QString TMainForm::statusText(int panel) const
{
    return StatusBar1->panelText(panel);
}

void TMainForm::setStatusText(int panel, const QString &text)
{
    StatusBar1->setPanelText(panel, text);
}

void TMainForm::ShowHint(const QString &hint)
{
    setStatusText(1, QStringLiteral("  ") + hint);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

void TMainForm::Exit1Click()
{
    close();
}

} // namespace pelorin
