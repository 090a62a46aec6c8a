// imgtool: the image component on the command line.
//   imgtool info FILE [--display-depth N]
//   imgtool convert IN OUT --depth automatic|16|256|true|vga|mono [options]
//   imgtool render IN OUT.png WxH

#include "imgtool.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Text and metafile drawing need a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = QGuiApplication::arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("info"))
        return imgtool::info(args);
    if (command == QLatin1String("convert"))
        return imgtool::convert(args);
    if (command == QLatin1String("render"))
        return imgtool::render(args);
    std::fputs("usage: imgtool info FILE [--display-depth N]\n"
               "       imgtool convert IN OUT --depth automatic|16|256|true|vga|mono [--display-depth N]\n"
               "               [--tiff-compress none|ccitt|lzw|packbits] [--jpeg-quality Q] [--jpeg-smooth S] [--no-interlace]\n"
               "       imgtool render IN OUT.png WxH\n",
               stderr);
    return imgtool::Usage;
}
