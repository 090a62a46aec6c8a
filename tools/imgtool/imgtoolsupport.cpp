#include "imgtoolsupport.h"

#include "imaging/displaydepth.h"

#include <cstdio>

namespace imgtool {

PrintedMessages::PrintedMessages()
{
    pelorin::setUser(this);
}

PrintedMessages::~PrintedMessages()
{
    pelorin::setUser(nullptr);
}

pelorin::Answer PrintedMessages::message(pelorin::MessageKind, const QString &text, pelorin::Buttons buttons,
                                         const QString &)
{
    ++mCount;
    printLine(text);
    return buttons == pelorin::Buttons::YesNo ? pelorin::Answer::Yes : pelorin::Answer::Ok;
}

std::optional<QString> takeOption(QStringList &args, const QString &name)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return std::nullopt;
    args.removeAt(at);
    if (at >= args.size())
        return QString();
    return args.takeAt(at);
}

bool takeFlag(QStringList &args, const QString &name)
{
    return args.removeAll(name) > 0;
}

bool applyDisplayDepth(QStringList &args)
{
    const std::optional<QString> value = takeOption(args, QStringLiteral("--display-depth"));
    if (!value)
        return true;
    bool ok = false;
    const int bits = value->toInt(&ok);
    if (!ok || bits < 1 || bits > 64)
        return false;
    pelorin::setScreenBitsOverride(bits);
    return true;
}

int pictureDepth(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
        return image.colorCount() <= 2 ? 1 : image.colorCount() <= 16 ? 4 : 8;
    case QImage::Format_Grayscale8:
        return 8;
    default:
        return image.hasAlphaChannel() ? 32 : 24;
    }
}

void printLine(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace imgtool
