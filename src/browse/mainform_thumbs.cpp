// The main window's thumbnail commands: the image lists, the thumbnail of each listed
// file, the thumbnail size command and the Size and Date columns of report style.

#include "browse/imagelistview.h"
#include "shell/appstate.h"
#include "shell/mainform.h"

namespace pelorin {

void TMainForm::ImageSet(int index)
{
    // No thumbnail is made yet: with nothing added to the image lists, items show no picture.
    Q_UNUSED(index);
}

void TMainForm::SetImageSize()
{
    ListView1->largeImages().setSize(appState().ThumbWidth, appState().ThumbHeight);
    ListView1->smallImages().setSize(50, 50);
}

void TMainForm::ThumbSize1Click()
{
    setStatusText(1, QStringLiteral("Adjust Thumb Size"));
}

void TMainForm::SetListView()
{
    // The Size and Date columns stay empty for now.
}

void TMainForm::beginThumbnails()
{
}

void TMainForm::endThumbnails()
{
}

} // namespace pelorin
