// The list's presentation commands: view style, sorting and Select All.

#include "browse/imagelistview.h"
#include "shell/mainform.h"

#include <QAction>
#include <QToolButton>

namespace pelorin {

void TMainForm::setThumbSizeCommandEnabled(bool enabled)
{
    ThumbSizeButton->setEnabled(enabled);
    ThumbSize1->setEnabled(enabled);
}

void TMainForm::ListButtonClick()
{
    const bool report = ListButton->isChecked();
    List1->setChecked(report);
    ListView1->setViewStyle(report ? ImageListView::Style::Report : ImageListView::Style::Icon);
    setThumbSizeCommandEnabled(!report);
    (report ? ListButton : IcoButton)->setChecked(true);
    UpdateListbox();
}

void TMainForm::List1Click()
{
    if (List1->isChecked()) {
        List1->setChecked(false);
        ListView1->setViewStyle(ImageListView::Style::Icon);
        setThumbSizeCommandEnabled(true);
        IcoButton->setChecked(true);
    } else {
        List1->setChecked(true);
        ListView1->setViewStyle(ImageListView::Style::Report);
        setThumbSizeCommandEnabled(false);
        ListButton->setChecked(true);
    }
    UpdateListbox();
}

void TMainForm::Sorted1Click()
{
    if (Sorted1->isChecked()) {
        ListView1->setSorted(false);
        Sorted1->setChecked(false);
        UpdateListbox();
    } else {
        ListView1->setSorted(true);
        Sorted1->setChecked(true);
        setStatusText(1, QStringLiteral("Image View Sorted"));
    }
}

void TMainForm::SelectAll1Click()
{
    ListView1->setFocus();
    ListView1->selectAll();
    setStatusText(1, QStringLiteral("All Files Selected"));
}

} // namespace pelorin
