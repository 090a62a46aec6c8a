#include "acquire/scanform.h"

namespace pelorin {

TScanForm *ScanForm = nullptr;

TScanForm::TScanForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("ScanForm"));
    setWindowTitle(QStringLiteral("Image Scan"));
}

TScanForm::~TScanForm() = default;

} // namespace pelorin
