#include "fileops/drivedialog.h"

namespace pelorin {

TDriveDialog *DriveDialog = nullptr;

TDriveDialog::TDriveDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DriveDialog"));
    setWindowTitle(QStringLiteral("Drive Information"));
}

TDriveDialog::~TDriveDialog() = default;

} // namespace pelorin
