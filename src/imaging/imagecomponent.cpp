#include "imaging/imagecomponent.h"

#include "imaging/codec/codec.h"
#include "imaging/displaydepth.h"
#include "imaging/rasterload.h"
#include "platform/user.h"

#include <QFileInfo>

#include <algorithm>

namespace pelorin {

ImageComponent::ImageComponent(QObject *parent) : QObject(parent) {}

ImageComponent::~ImageComponent() = default;

void ImageComponent::setImageName(const QString &name)
{
    mImageName = name;
    const RasterReader reader = rasterReaderFor(name);
    if (!QFileInfo::exists(name)) {
        mStatusText = QStringLiteral("file not found");
        takePicture(Picture());
        return;
    }
    if (reader == RasterReader::SystemPicture) {
        // Icons and Windows metafiles are the system picture's; its failure is the caller's.
        takePicture(Picture());
        mStatusText = QStringLiteral("Non TIF, JPeg, BMP, GIF, PNG or PCX Image");
        Picture loaded;
        loaded.loadFromFile(name);
        takePicture(std::move(loaded));
        return;
    }
    if (reader == RasterReader::None)
        return;

    applyLoadResult(name, loadRaster({name, readDepth(), ImageDither, QSize()}));
}

void ImageComponent::applyLoadResult(const QString &name, RasterLoadResult result)
{
    mImageName = name;
    switch (result.outcome) {
    case RasterLoadResult::Outcome::Missing:
        mStatusText = QStringLiteral("file not found");
        takePicture(Picture());
        return;
    case RasterLoadResult::Outcome::Unrecognised:
        return;
    case RasterLoadResult::Outcome::Unexpected:
        takePicture(Picture());
        return;
    case RasterLoadResult::Outcome::ReaderFailed:
        // The reader's own text in an error box, then "Reading ... file failed".
        if (!result.messages.isEmpty())
            showError(result.messages.first());
        for (qsizetype i = 1; i < result.messages.size(); ++i)
            showInformation(result.messages.at(i));
        break;
    case RasterLoadResult::Outcome::Loaded:
        mStatusText = name.toUpper();
        break;
    }
    Picture loaded;
    loaded.setBitmap(std::move(result.image));
    takePicture(std::move(loaded));
}

void ImageComponent::setPicture(const Picture &picture)
{
    takePicture(picture);
}

void ImageComponent::takePicture(Picture picture)
{
    mPicture = std::move(picture);
    if (AutoSize && mPicture.width() > 0 && mPicture.height() > 0)
        setSize(mPicture.size());
    emit pictureChanged();
}

void ImageComponent::setSize(QSize size)
{
    if (size == mSize)
        return;
    mSize = size;
    emit sizeChanged(size);
}

int ImageComponent::readDepth() const
{
    switch (ImageReadRes) {
    case lColorVga:
        return 0;
    case lMonoChrome:
        return 1;
    case lColor16:
        return 4;
    case lColor256:
        return 8;
    case lColorTrue:
        return 24;
    case lAutoMatic:
        break;
    }
    return displayDepth();
}

int ImageComponent::writeDepth(Format format) const
{
    if (format == Format::Jpeg)
        return ImageWriteRes == sMonoChrome || ImageWriteRes == sJpegGray ? 1 : 24;
    int depth = 24;
    switch (ImageWriteRes) {
    case sColorVga:
        depth = 0;
        break;
    case sMonoChrome:
        depth = 1;
        break;
    case sColor16:
        depth = 4;
        break;
    case sColor256:
    case sJpegGray:
        depth = 8;
        break;
    case sColorTrue:
        depth = 24;
        break;
    case sAutoMatic:
        depth = displayDepth();
        break;
    }
    if (format == Format::Gif)
        depth = std::min(depth, 8);
    return depth;
}

int ImageComponent::tiffCompressionCode() const
{
    switch (TifSaveCompress) {
    case sNONE:
        break;
    case sCCITT:
        return 2;
    case sLZW:
        return 5;
    case sPACKBITS:
        return 32773;
    }
    return 1;
}

bool ImageComponent::writeBmp(const QString &fileName)
{
    return write(Format::Bmp, fileName);
}

bool ImageComponent::writePng(const QString &fileName)
{
    return write(Format::Png, fileName);
}

bool ImageComponent::writeJpeg(const QString &fileName)
{
    return write(Format::Jpeg, fileName);
}

bool ImageComponent::writeGif(const QString &fileName)
{
    return write(Format::Gif, fileName);
}

bool ImageComponent::writeTiff(const QString &fileName)
{
    return write(Format::Tiff, fileName);
}

bool ImageComponent::writePcx(const QString &fileName)
{
    return write(Format::Pcx, fileName);
}

bool ImageComponent::write(Format format, const QString &fileName)
{
    int status = 0;
    QString failed;
    try {
        const QImage image = mPicture.toImage();
        const int depth = writeDepth(format);
        switch (format) {
        case Format::Bmp:
            status = codec::writeBmp(image, fileName, depth);
            failed = QStringLiteral("Writing bmp file failed");
            break;
        case Format::Png:
            status = codec::writePng(image, fileName, depth, PNGInterLaced);
            failed = QStringLiteral("Writing png file failed");
            break;
        case Format::Jpeg:
            status = codec::writeJpeg(image, fileName, depth, JPegSaveQuality, JPegSaveSmooth);
            failed = QStringLiteral("Writing jpg file failed");
            break;
        case Format::Gif:
            status = codec::writeGif(image, fileName, depth);
            failed = QStringLiteral("Writing gif file failed");
            break;
        case Format::Tiff:
            status = codec::writeTiff(image, fileName, depth, tiffCompressionCode());
            failed = QStringLiteral("Writing tif file failed");
            break;
        case Format::Pcx:
            status = codec::writePcx(image, fileName, depth);
            failed = QStringLiteral("Writing pcx file failed");
            break;
        }
    } catch (...) {
        // An unexpected error inside a writer is not reported; the caller goes on.
        return false;
    }
    if (status > 0)
        return true;
    showError(codec::statusText(status));
    showInformation(failed);
    return false;
}

} // namespace pelorin
