#pragma once
// TImageForm: the hidden work window that loads the files for the thumbnails; created
// at start-up and never shown. It holds the work component PMultiImage1 (stretching,
// sized to the thumbnail size) and the work picture Image1 (a stretching picture box),
// which are the shared image holders of the whole run.

#include <QWidget>

namespace pelorin {

class ImageComponent;
class PictureHolder;

class TImageForm : public QWidget
{
    Q_OBJECT
public:
    explicit TImageForm(QWidget *parent = nullptr);
    ~TImageForm() override;

    ImageComponent &PMultiImage1;
    PictureHolder &Image1;
};

extern TImageForm *ImageForm;

} // namespace pelorin
