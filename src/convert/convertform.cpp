#include "convert/convertform.h"

namespace pelorin {

TConvertForm *ConvertForm = nullptr;

TConvertForm::TConvertForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ConvertForm"));
    setWindowTitle(QStringLiteral("Convert"));
}

TConvertForm::~TConvertForm() = default;

} // namespace pelorin
