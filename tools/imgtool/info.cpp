// imgtool info FILE [--display-depth N]: loads FILE as the viewer does and prints its
// size and depth, after whatever messages the user would have seen.

#include "imgtool.h"
#include "imgtoolsupport.h"

#include "imaging/imageextension.h"
#include "imaging/imageholders.h"
#include "platform/error.h"

#include <cstdio>

int imgtool::info(const QStringList &arguments)
{
    QStringList args = arguments;
    if (!applyDisplayDepth(args) || args.size() != 1 || args.first().startsWith(QLatin1String("--"))) {
        std::fputs("usage: imgtool info FILE [--display-depth N]\n", stderr);
        return Usage;
    }
    const QString file = args.first();
    PrintedMessages messages;
    pelorin::ImageHolders &holders = pelorin::imageHolders();
    pelorin::Picture picture;
    try {
        if (pelorin::fileKind(file) == pelorin::FileKind::Metafile) {
            holders.metafilePicture.loadFromFile(file);
            picture = holders.metafilePicture.picture();
        } else {
            holders.viewerComponent.setImageName(file);
            picture = holders.viewerComponent.picture();
        }
    } catch (const pelorin::Error &) {
        printLine(QStringLiteral("Error Loading Image ") + file);
        return Refused;
    } catch (...) {
        printLine(QStringLiteral("Error Loading Image ") + file);
        return Refused;
    }
    if (picture.isEmpty()) {
        printLine(QStringLiteral("empty"));
        return Refused;
    }
    const int depth = picture.kind() == pelorin::Picture::Kind::Bitmap ? pictureDepth(picture.bitmap()) : 24;
    printLine(QStringLiteral("%1x%2 depth=%3").arg(picture.width()).arg(picture.height()).arg(depth));
    return messages.count() == 0 ? Success : Refused;
}
