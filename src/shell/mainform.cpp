#include "shell/mainform.h"

namespace pelorin {

TMainForm *MainForm = nullptr;

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Pelorin"));
}

TMainForm::~TMainForm() = default;

} // namespace pelorin
