#include "output/printoptionsform.h"

namespace pelorin {

TPrintOptionsForm *PrintOptionsForm = nullptr;

TPrintOptionsForm::TPrintOptionsForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PrintOptionsForm"));
    setWindowTitle(QStringLiteral("Print Options"));
}

TPrintOptionsForm::~TPrintOptionsForm() = default;

} // namespace pelorin
