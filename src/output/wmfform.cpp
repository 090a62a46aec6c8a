#include "output/wmfform.h"

namespace pelorin {

TWmfForm *WmfForm = nullptr;

TWmfForm::TWmfForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("WmfForm"));
    setWindowTitle(QStringLiteral("WmfForm"));
}

TWmfForm::~TWmfForm() = default;

} // namespace pelorin
