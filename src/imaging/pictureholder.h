#pragma once
// A picture box of the class library: a Picture loaded through the system picture, with
// the box's display settings. The windows draw it; the holder only keeps it.

#include "imaging/picture.h"

#include <QObject>

namespace pelorin {

class PictureHolder : public QObject
{
    Q_OBJECT
public:
    explicit PictureHolder(QObject *parent = nullptr) : QObject(parent) {}

    const Picture &picture() const { return mPicture; }
    // Loads an icon or a metafile (the system picture route); raises pelorin::Error and
    // leaves the picture unchanged when that fails.
    void loadFromFile(const QString &path);
    void setPicture(const Picture &picture);
    void clear();

    bool AutoSize = false;
    bool Center = false;
    bool Stretch = false;

signals:
    void pictureChanged();

private:
    Picture mPicture;
};

} // namespace pelorin
