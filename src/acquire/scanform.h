#pragma once
// TScanForm: the scan window that receives scanned images and screen captures; created at start-up, hidden until a scan or capture shows it.

#include <QMainWindow>

namespace pelorin {

class TScanForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TScanForm(QWidget *parent = nullptr);
    ~TScanForm() override;
};

extern TScanForm *ScanForm;

} // namespace pelorin
