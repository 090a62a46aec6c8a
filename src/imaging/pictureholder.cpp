#include "imaging/pictureholder.h"

namespace pelorin {

void PictureHolder::loadFromFile(const QString &path)
{
    mPicture.loadFromFile(path);
    emit pictureChanged();
}

void PictureHolder::setPicture(const Picture &picture)
{
    mPicture = picture;
    emit pictureChanged();
}

void PictureHolder::clear()
{
    mPicture.clear();
    emit pictureChanged();
}

} // namespace pelorin
