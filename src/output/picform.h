#pragma once
// TPicForm: the raster image viewer, created at start-up and reused for every view.

#include <QMainWindow>

namespace pelorin {

class TPicForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TPicForm(QWidget *parent = nullptr);
    ~TPicForm() override;
};

extern TPicForm *PicForm;

} // namespace pelorin
