// The main window's small dialogs: About and Maximum Size.

#include "platform/dialogs.h"
#include "shell/aboutbox.h"
#include "shell/mainform.h"
#include "shell/maxsizeform.h"
#include "shell/tipform.h"
#include "browse/listing.h"

#include <QAction>

namespace pelorin {

void TMainForm::About1Click()
{
    TAboutBox box(this);
    dialogs().exec(box);
}

void TMainForm::MaximumSize1Click()
{
    if (!MaxSizeForm) // made at start-up; made here when a window is used on its own
        MaxSizeForm = new TMaxSizeForm(mInitialMaxSizeLimit, mInitialMaxSize);
    dialogs().exec(*MaxSizeForm);
    MaximumSize1->setChecked(MaxSizeForm->limitEnabled());
    setStatusText(1, QStringLiteral("Maximum Size Set"));
}

SizeLimit TMainForm::currentSizeLimit() const
{
    if (MaxSizeForm)
        return {MaxSizeForm->limitEnabled(), MaxSizeForm->limitKilobytes()};
    return {mInitialMaxSizeLimit, mInitialMaxSize};
}

void TMainForm::showTipOfTheDay()
{
    TTipForm tip(this);
    dialogs().exec(tip);
    ShowHints1->setChecked(tip.showTipsAtStartUp());
}

} // namespace pelorin
