#include "fileops/propertyform.h"

namespace pelorin {

TPropertyForm *PropertyForm = nullptr;

TPropertyForm::TPropertyForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PropertyForm"));
    setWindowTitle(QStringLiteral("Properties"));
}

TPropertyForm::~TPropertyForm() = default;

} // namespace pelorin
