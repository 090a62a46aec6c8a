#include "output/picform.h"

namespace pelorin {

TPicForm *PicForm = nullptr;

TPicForm::TPicForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("PicForm"));
    setWindowTitle(QStringLiteral("Image"));
}

TPicForm::~TPicForm() = default;

} // namespace pelorin
