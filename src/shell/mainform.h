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

    // The size limit as read from the settings ("MaxSizeLimit" exactly 1, "MaxSize"),
    // from which the Maximum Size dialog starts.
    bool initialMaxSizeLimit() const { return false; }
    int initialMaxSize() const { return 100; }
};

extern TMainForm *MainForm;

} // namespace pelorin
