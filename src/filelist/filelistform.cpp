#include "filelist/filelistform.h"

namespace pelorin {

TFileListForm *FileListForm = nullptr;

TFileListForm::TFileListForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FileListForm"));
    setWindowTitle(QStringLiteral("File List"));
}

TFileListForm::~TFileListForm() = default;

} // namespace pelorin
