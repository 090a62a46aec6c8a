#pragma once
// TWmfForm: the metafile viewer, created at start-up and reused for every view.

#include <QMainWindow>

namespace pelorin {

class TWmfForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TWmfForm(QWidget *parent = nullptr);
    ~TWmfForm() override;
};

extern TWmfForm *WmfForm;

} // namespace pelorin
