#include "browse/imageform.h"

namespace pelorin {

TImageForm *ImageForm = nullptr;

TImageForm::TImageForm(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ImageForm"));
    setWindowTitle(QStringLiteral("ImageForm"));
}

TImageForm::~TImageForm() = default;

} // namespace pelorin
