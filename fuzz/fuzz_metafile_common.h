#pragma once
// Shared body of the metafile fuzzers: load the bytes, and when they are accepted,
// play them into two small images of different aspect.

#include "imaging/metafile/metafilepicture.h"
#include "platform/error.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <memory>

namespace pelorin::fuzz {

inline void initGui(int *argc, char ***argv)
{
    // Text drawing needs a GUI application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> app(new QGuiApplication(*argc, *argv));
}

inline void playMetafile(const uint8_t *data, size_t size)
{
    try {
        const auto picture = MetafilePicture::fromData(
            QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        for (const QSize target : {QSize(64, 64), QSize(23, 71)}) {
            QImage image(target, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            picture->draw(painter, image.rect());
        }
    } catch (const Error &) {
    }
}

} // namespace pelorin::fuzz
