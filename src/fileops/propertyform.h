#pragma once
// TPropertyForm: the file properties dialog; created at start-up and kept for the whole run.

#include <QDialog>

namespace pelorin {

class TPropertyForm : public QDialog
{
    Q_OBJECT
public:
    explicit TPropertyForm(QWidget *parent = nullptr);
    ~TPropertyForm() override;
};

extern TPropertyForm *PropertyForm;

} // namespace pelorin
