#pragma once
// TCopyForm: the copy dialog that asks for the target directory of a copy or move; created at start-up and kept for the whole run.

#include <QDialog>

namespace pelorin {

class TCopyForm : public QDialog
{
    Q_OBJECT
public:
    explicit TCopyForm(QWidget *parent = nullptr);
    ~TCopyForm() override;
};

extern TCopyForm *CopyForm;

} // namespace pelorin
