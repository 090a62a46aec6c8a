#pragma once
// TImageForm: the hidden work window that loads the files for the thumbnails; created at start-up and never shown.

#include <QWidget>

namespace pelorin {

class TImageForm : public QWidget
{
    Q_OBJECT
public:
    explicit TImageForm(QWidget *parent = nullptr);
    ~TImageForm() override;
};

extern TImageForm *ImageForm;

} // namespace pelorin
