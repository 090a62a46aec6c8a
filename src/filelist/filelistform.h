#pragma once
// TFileListForm: the file list window, a collection of files gathered from the main and search windows; created at start-up, hidden and empty.

#include <QMainWindow>

namespace pelorin {

class TFileListForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFileListForm(QWidget *parent = nullptr);
    ~TFileListForm() override;
};

extern TFileListForm *FileListForm;

} // namespace pelorin
