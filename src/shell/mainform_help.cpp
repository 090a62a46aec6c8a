// Help commands of the main window: contents, search, help on help and What's This.

#include "shell/help.h"
#include "shell/mainform.h"

namespace pelorin {

void TMainForm::Help2Click()
{
    help::contents();
}

void TMainForm::SearchHelpClick()
{
    help::search();
}

void TMainForm::UsingHelp1Click()
{
    help::helpOnHelp();
}

void TMainForm::WhatsThis1Click()
{
    setStatusText(1, QStringLiteral("help File"));
    help::context(1);
}

void TMainForm::WhatsThis2Click()
{
    setStatusText(1, QStringLiteral("help File"));
    help::context(2);
}

void TMainForm::WhatsThis4Click()
{
    setStatusText(1, QStringLiteral("help File"));
    help::context(4);
}

void TMainForm::WhatsThis5Click()
{
    setStatusText(1, QStringLiteral("help File"));
    help::context(5);
}

void TMainForm::WhatsThis6Click()
{
    setStatusText(1, QStringLiteral("help File"));
    help::context(15);
}

void TMainForm::WhatsThis7Click()
{
    setStatusText(1, QStringLiteral("Help File"));
    help::context(36);
}

} // namespace pelorin
