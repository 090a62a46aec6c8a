#pragma once
// TPrintOptionsForm: the print options dialog; created at start-up and kept for the whole run, so its settings last until the program ends.

#include <QDialog>

namespace pelorin {

class TPrintOptionsForm : public QDialog
{
    Q_OBJECT
public:
    explicit TPrintOptionsForm(QWidget *parent = nullptr);
    ~TPrintOptionsForm() override;
};

extern TPrintOptionsForm *PrintOptionsForm;

} // namespace pelorin
