#include "imaging/imageholders.h"

#include "shell/appstate.h"

#include <memory>

namespace pelorin {

ImageHolders::ImageHolders()
{
    const AppState &state = appState();
    workComponent.Stretch = true;
    workComponent.TifSaveCompress = ImageComponent::sNONE;
    workComponent.setSize(QSize(state.ThumbWidth, state.ThumbHeight));
    workPicture.Stretch = true;

    viewerComponent.AutoSize = true;
    viewerComponent.Center = true;
    viewerComponent.TifSaveCompress = ImageComponent::sLZW;
    viewerComponent.PNGInterLaced = true;

    metafilePicture.AutoSize = true;
    metafilePicture.Center = true;
    metafilePicture.Stretch = true;

    scanComponent.AutoSize = true;
    scanComponent.TifSaveCompress = ImageComponent::sLZW;
    scanComponent.PNGInterLaced = false;

    workComponent.setObjectName(QStringLiteral("PMultiImage1"));
    workPicture.setObjectName(QStringLiteral("Image1"));
    viewerComponent.setObjectName(QStringLiteral("PMultiImage1"));
    metafilePicture.setObjectName(QStringLiteral("Image1"));
    scanComponent.setObjectName(QStringLiteral("PMultiImage1"));
}

ImageComponent *ImageHolders::component(Holder holder)
{
    switch (holder) {
    case Holder::WorkComponent:
        return &workComponent;
    case Holder::ViewerComponent:
        return &viewerComponent;
    case Holder::ScanComponent:
        return &scanComponent;
    case Holder::WorkPicture:
    case Holder::MetafilePicture:
        break;
    }
    return nullptr;
}

PictureHolder *ImageHolders::pictureHolder(Holder holder)
{
    switch (holder) {
    case Holder::WorkPicture:
        return &workPicture;
    case Holder::MetafilePicture:
        return &metafilePicture;
    default:
        return nullptr;
    }
}

ImageHolders &imageHolders()
{
    static ImageHolders holders;
    return holders;
}

} // namespace pelorin
