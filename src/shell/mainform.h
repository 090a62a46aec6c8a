#pragma once
// TMainForm: the main window. Handlers carry the specification's names.

#include <QMainWindow>

namespace pelorin {

class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;
};

extern TMainForm *MainForm;

} // namespace pelorin
