// The busy state of long operations, the Stop button and the option toggles.

#include "browse/imagelistview.h"
#include "platform/workdir.h"
#include "shell/appstate.h"
#include "shell/dirtree.h"
#include "shell/mainform.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QToolButton>

namespace pelorin {

namespace {

void setBusyLook(QWidget *widget, bool busy)
{
    widget->setEnabled(!busy);
    if (busy)
        widget->setCursor(Qt::WaitCursor);
    else
        widget->unsetCursor();
}

} // namespace

void TMainForm::DisableWindow()
{
    if (NoStop1->isChecked()) {
        setEnabled(false);
        setCursor(Qt::WaitCursor);
        letMessagesRun();
        repaint();
        return;
    }
    for (QMenu *menu : {HelpMenu, WindowMenu, FileListMenu, ViewMenu, OptionsMenu, ImageMenu, ImageTypeMenu, FileMenu})
        menu->menuAction()->setEnabled(false);
    for (QToolButton *button : {ExitButton, HelpButton, ThumbSizeButton, ClipBoardButton, ViewButton, PrintSetUpButton,
                                PrintButton, SearchButton, RenameButton, DeleteButton, CopyButton, MoveButton})
        setBusyLook(button, true);
    for (QWidget *widget : {static_cast<QWidget *>(DirTree1), static_cast<QWidget *>(ListView1), static_cast<QWidget *>(Panel1)})
        setBusyLook(widget, true);
    HeaderControl1->setEnabled(false);
    if (appState().StopLocked) {
        StopButton->setEnabled(false);
        Panel2->setCursor(Qt::WaitCursor);
    } else {
        StopButton->setEnabled(true);
    }
    letMessagesRun();
}

void TMainForm::EnableWindow()
{
    if (NoStop1->isChecked()) {
        setEnabled(true);
        unsetCursor();
        return;
    }
    for (QMenu *menu : {HelpMenu, WindowMenu, FileListMenu, ViewMenu, OptionsMenu, ImageMenu, ImageTypeMenu, FileMenu})
        menu->menuAction()->setEnabled(true);
    setBusyLook(ExitButton, false);
    StopButton->setEnabled(false);
    setBusyLook(HelpButton, false);
    ThumbSizeButton->setEnabled(ListView1->viewStyle() == ImageListView::Style::Icon);
    ThumbSizeButton->unsetCursor();
    for (QToolButton *button : {ClipBoardButton, ViewButton, PrintSetUpButton, PrintButton, SearchButton, RenameButton,
                                DeleteButton, CopyButton, MoveButton})
        setBusyLook(button, false);
    setBusyLook(Panel1, false);
    Panel2->unsetCursor();
    (List1->isChecked() ? ListButton : IcoButton)->setChecked(true);
    for (QWidget *widget : {static_cast<QWidget *>(DirTree1), static_cast<QWidget *>(ListView1),
                            static_cast<QWidget *>(HeaderControl1)})
        setBusyLook(widget, false);
    letMessagesRun();
}

void TMainForm::StopButtonClick()
{
    appState().StopFlag = true;
}

void TMainForm::NoStop1Click()
{
    NoStop1->setChecked(!NoStop1->isChecked());
    setStatusText(1, QStringLiteral("Changed No Stop"));
}

void TMainForm::ShowHints1Click()
{
    ShowHints1->setChecked(!ShowHints1->isChecked());
    setStatusText(1, QStringLiteral("Hints Option Set"));
}

void TMainForm::NoThumbs1Click()
{
    NoThumbs1->setChecked(!NoThumbs1->isChecked());
    setStatusText(1, QStringLiteral("Thumbs Option Set"));
}

void TMainForm::RecycleFiles1Click()
{
    RecycleFiles1->setChecked(!RecycleFiles1->isChecked());
}

} // namespace pelorin
