// imgtool convert IN OUT --depth ... : loads IN as conversion does (metafiles and icons
// rendered through the bridge) and writes OUT with the writer its extension names, at
// the depth and with the options conversion uses unless overridden.

#include "imgtool.h"
#include "imgtoolsupport.h"

#include "imaging/bridges.h"
#include "imaging/imageextension.h"
#include "imaging/imageholders.h"
#include "platform/error.h"

#include <cstdio>
#include <optional>

namespace {

using pelorin::ImageComponent;

void usage()
{
    std::fputs("usage: imgtool convert IN OUT --depth automatic|16|256|true|vga|mono [--display-depth N]\n"
               "               [--tiff-compress none|ccitt|lzw|packbits] [--jpeg-quality Q] [--jpeg-smooth S]"
               " [--no-interlace]\n",
               stderr);
}

std::optional<ImageComponent::WriteRes> writeResOf(const QString &depth)
{
    if (depth == QLatin1String("automatic"))
        return ImageComponent::sAutoMatic;
    if (depth == QLatin1String("16"))
        return ImageComponent::sColor16;
    if (depth == QLatin1String("256"))
        return ImageComponent::sColor256;
    if (depth == QLatin1String("true"))
        return ImageComponent::sColorTrue;
    if (depth == QLatin1String("vga"))
        return ImageComponent::sColorVga;
    if (depth == QLatin1String("mono"))
        return ImageComponent::sMonoChrome;
    return std::nullopt;
}

std::optional<ImageComponent::TifCompress> compressionOf(const QString &name)
{
    if (name == QLatin1String("none"))
        return ImageComponent::sNONE;
    if (name == QLatin1String("ccitt"))
        return ImageComponent::sCCITT;
    if (name == QLatin1String("lzw"))
        return ImageComponent::sLZW;
    if (name == QLatin1String("packbits"))
        return ImageComponent::sPACKBITS;
    return std::nullopt;
}

std::optional<ImageComponent::Format> writerFor(const QString &fileName)
{
    const QString ext = pelorin::ImageExtension(fileName);
    if (ext == QLatin1String(".bmp") || ext == QLatin1String(".dib"))
        return ImageComponent::Format::Bmp;
    if (ext == QLatin1String(".png"))
        return ImageComponent::Format::Png;
    if (ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg"))
        return ImageComponent::Format::Jpeg;
    if (ext == QLatin1String(".gif"))
        return ImageComponent::Format::Gif;
    if (ext == QLatin1String(".tif") || ext == QLatin1String(".tiff"))
        return ImageComponent::Format::Tiff;
    if (ext == QLatin1String(".pcx"))
        return ImageComponent::Format::Pcx;
    return std::nullopt;
}

// A byte-sized option from 0 to max; nullopt on a bad value.
std::optional<int> byteOption(const QString &value, int max)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < 0 || number > max)
        return std::nullopt;
    return number;
}

} // namespace

int imgtool::convert(const QStringList &arguments)
{
    QStringList args = arguments;
    if (!applyDisplayDepth(args)) {
        usage();
        return Usage;
    }
    const std::optional<QString> depth = takeOption(args, QStringLiteral("--depth"));
    const std::optional<QString> compress = takeOption(args, QStringLiteral("--tiff-compress"));
    const std::optional<QString> quality = takeOption(args, QStringLiteral("--jpeg-quality"));
    const std::optional<QString> smooth = takeOption(args, QStringLiteral("--jpeg-smooth"));
    const bool noInterlace = takeFlag(args, QStringLiteral("--no-interlace"));
    if (!depth || args.size() != 2 || args.at(0).startsWith(QLatin1String("--")) ||
        args.at(1).startsWith(QLatin1String("--"))) {
        usage();
        return Usage;
    }
    const QString in = args.at(0);
    const QString out = args.at(1);
    const std::optional<ImageComponent::WriteRes> writeRes = writeResOf(*depth);
    const std::optional<ImageComponent::Format> writer = writerFor(out);
    const std::optional<ImageComponent::TifCompress> tiff =
        compress ? compressionOf(*compress) : std::optional(ImageComponent::sLZW);
    const std::optional<int> jpegQuality = quality ? byteOption(*quality, 100) : std::optional(25);
    const std::optional<int> jpegSmooth = smooth ? byteOption(*smooth, 100) : std::optional(0);
    if (!writeRes || !writer || !tiff || !jpegQuality || !jpegSmooth) {
        usage();
        return Usage;
    }

    PrintedMessages messages;
    ImageComponent &component = pelorin::imageHolders().viewerComponent;
    try {
        switch (pelorin::fileKind(in)) {
        case pelorin::FileKind::Metafile:
            pelorin::BridgeToComponent(in, QSize(300, 300));
            break;
        case pelorin::FileKind::Icon:
            pelorin::BridgeToComponent(in, QSize(32, 32));
            break;
        case pelorin::FileKind::Raster:
            component.setImageName(in);
            break;
        }
    } catch (const pelorin::Error &e) {
        printLine(e.text());
        return Refused;
    } catch (...) {
        printLine(QStringLiteral("An unexpected error occurred"));
        return Refused;
    }
    if (component.picture().isEmpty()) {
        if (messages.count() == 0)
            printLine(QStringLiteral("empty"));
        return Refused;
    }
    const int readMessages = messages.count();
    component.ImageWriteRes = *writeRes;
    component.TifSaveCompress = *tiff;
    component.JPegSaveQuality = quint8(*jpegQuality);
    component.JPegSaveSmooth = quint8(*jpegSmooth);
    component.PNGInterLaced = !noInterlace;
    const bool written = component.write(*writer, out);
    component.ImageWriteRes = ImageComponent::sAutoMatic;
    return written && readMessages == 0 ? Success : Refused;
}
