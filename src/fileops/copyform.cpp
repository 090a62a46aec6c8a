#include "fileops/copyform.h"

namespace pelorin {

TCopyForm *CopyForm = nullptr;

TCopyForm::TCopyForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CopyForm"));
    setWindowTitle(QStringLiteral("Copy Files"));
}

TCopyForm::~TCopyForm() = default;

} // namespace pelorin
