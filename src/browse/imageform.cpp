#include "browse/imageform.h"

#include "imaging/imageholders.h"
#include "shell/appstate.h"

namespace pelorin {

TImageForm *ImageForm = nullptr;

TImageForm::TImageForm(QWidget *parent)
    : QWidget(parent), PMultiImage1(imageHolders().workComponent), Image1(imageHolders().workPicture)
{
    setObjectName(QStringLiteral("ImageForm"));
    setWindowTitle(QStringLiteral("ImageForm"));
    PMultiImage1.setSize(QSize(appState().ThumbWidth, appState().ThumbHeight));
}

TImageForm::~TImageForm() = default;

} // namespace pelorin
