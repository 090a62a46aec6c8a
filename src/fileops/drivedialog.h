#pragma once
// TDriveDialog: the drive information dialog; created at start-up and kept for the whole run.

#include <QDialog>

namespace pelorin {

class TDriveDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TDriveDialog(QWidget *parent = nullptr);
    ~TDriveDialog() override;
};

extern TDriveDialog *DriveDialog;

} // namespace pelorin
