#pragma once
// TConvertForm: the convert dialog (format, colour depth, target directory); created at start-up and kept for the whole run, so its choices last until the program ends.

#include <QDialog>

namespace pelorin {

class TConvertForm : public QDialog
{
    Q_OBJECT
public:
    explicit TConvertForm(QWidget *parent = nullptr);
    ~TConvertForm() override;
};

extern TConvertForm *ConvertForm;

} // namespace pelorin
