#pragma once
// The image component: a holder that loads files by name (raster readers, or the system
// picture for icons and metafiles), keeps the picture, and writes it with the six raster
// writers at the depth its settings give. Messages go through the user seam.

#include "imaging/picture.h"
#include "imaging/rasterload.h"

#include <QObject>
#include <QSize>
#include <QString>

namespace pelorin {

class ImageComponent : public QObject
{
    Q_OBJECT
public:
    enum ReadRes { lColorVga, lMonoChrome, lColor16, lColor256, lColorTrue, lAutoMatic };
    Q_ENUM(ReadRes)
    enum WriteRes { sColorVga, sMonoChrome, sColor16, sColor256, sColorTrue, sJpegGray, sAutoMatic };
    Q_ENUM(WriteRes)
    enum TifCompress { sNONE, sCCITT, sLZW, sPACKBITS };
    Q_ENUM(TifCompress)

    explicit ImageComponent(QObject *parent = nullptr);
    ~ImageComponent() override;

    // Assigning the name loads the file at once (relative names against the working
    // directory). A missing file empties the picture silently; a reader failure shows
    // the reader's text and "Reading ... file failed" and keeps what the reader made;
    // an unexpected reader error empties the picture silently; an extension with no
    // reader leaves the picture unchanged. Icons (".ico") and ".wmf" go through the
    // system picture and raise pelorin::Error when that fails.
    void setImageName(const QString &name);
    const QString &imageName() const { return mImageName; }
    // Takes a raster load of name made elsewhere (ahead, on a worker) as setImageName
    // would have taken it: shows its messages, then empties, keeps or replaces the picture.
    void applyLoadResult(const QString &name, RasterLoadResult result);

    const Picture &picture() const { return mPicture; }
    void setPicture(const Picture &picture);
    // Status kept by the component (the upper-cased name after a raster read, "file not
    // found", ...); the program never shows it.
    const QString &statusText() const { return mStatusText; }

    // The control's own size. With AutoSize on it follows the picture whenever both of
    // the picture's sides are greater than 0.
    QSize size() const { return mSize; }
    int width() const { return mSize.width(); }
    int height() const { return mSize.height(); }
    void setSize(QSize size);

    bool AutoSize = false;
    bool Stretch = false;
    bool Center = false;
    ReadRes ImageReadRes = lAutoMatic;
    bool ImageDither = true;
    WriteRes ImageWriteRes = sAutoMatic;
    TifCompress TifSaveCompress = sNONE;
    quint8 JPegSaveQuality = 25;
    quint8 JPegSaveSmooth = 0;
    bool PNGInterLaced = false;

    // The depth reading uses (0 VGA, 1, 4, 8 or 24), from ImageReadRes.
    int readDepth() const;

    enum class Format { Bmp, Png, Jpeg, Gif, Tiff, Pcx };
    // The depth handed to the codec for format under ImageWriteRes.
    int writeDepth(Format format) const;
    // The TIFF compression code for TifSaveCompress (1, 2, 5 or 32773).
    int tiffCompressionCode() const;

    // The writers: each writes the current picture to fileName and never raises. A
    // codec failure shows the codec's text and then "Writing ... file failed"; an
    // unexpected error shows nothing. They return whether the file was written.
    bool writeBmp(const QString &fileName);
    bool writePng(const QString &fileName);
    bool writeJpeg(const QString &fileName);
    bool writeGif(const QString &fileName);
    bool writeTiff(const QString &fileName);
    bool writePcx(const QString &fileName);
    bool write(Format format, const QString &fileName);

signals:
    void pictureChanged();
    void sizeChanged(QSize size);

private:
    void takePicture(Picture picture);

    QString mImageName;
    Picture mPicture;
    QString mStatusText;
    QSize mSize;
};

} // namespace pelorin
