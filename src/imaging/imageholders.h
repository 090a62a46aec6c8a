#pragma once
// The five image holders, alive for the whole run and shared by every window: printing,
// clipboard copy and conversion load into the raster viewer's component, so an open
// viewer shows the last image so handled. The windows that show them reference these.

#include "imaging/imagecomponent.h"
#include "imaging/imageextension.h"
#include "imaging/pictureholder.h"

namespace pelorin {

struct ImageHolders
{
    ImageHolders();

    // ImageForm.PMultiImage1: stretching, sized to the thumbnail size.
    ImageComponent workComponent;
    // ImageForm.Image1: stretching picture box.
    PictureHolder workPicture;
    // PicForm.PMultiImage1: AutoSize, Center, TIFF LZW, PNG interlaced.
    ImageComponent viewerComponent;
    // WmfForm.Image1: AutoSize, Center, Stretch.
    PictureHolder metafilePicture;
    // ScanForm.PMultiImage1: AutoSize, TIFF LZW, PNG not interlaced.
    ImageComponent scanComponent;

    ImageComponent *component(Holder holder);    // null for the two picture boxes
    PictureHolder *pictureHolder(Holder holder); // null for the three components
};

// The holders of this run, made on first use (after the application object).
ImageHolders &imageHolders();

} // namespace pelorin
