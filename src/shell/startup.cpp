#include "shell/startup.h"

#include "shell/mainform.h"

namespace pelorin {

void createLongLivedWindows()
{
    MainForm = new TMainForm;
}

void destroyLongLivedWindows()
{
    delete MainForm;
    MainForm = nullptr;
}

} // namespace pelorin
