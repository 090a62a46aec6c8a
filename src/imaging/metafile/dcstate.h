#pragma once
// The device context a metafile's records change: graphics objects, colours, modes,
// the mapping from logical units to the picture and the clipping region. Saved and
// restored as a whole by SaveDC and RestoreDC.

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRegion>
#include <QSizeF>
#include <QString>
#include <QTransform>

#include <optional>
#include <variant>

namespace pelorin::metafile {

struct LogPen
{
    int style = 0; // PS_* with end cap, join and type bits
    double width = 0;
    QColor color = Qt::black;
    QList<qreal> dashes; // PS_USERSTYLE lengths in logical units
    bool extended = false; // made by ExtCreatePen: the type bits say cosmetic or geometric
    bool isNull() const { return (style & 0xF) == 5; }
};

struct LogBrush
{
    int style = 0; // BS_*
    QColor color = Qt::white;
    int hatch = 0;
    QImage pattern; // BS_PATTERN and BS_DIBPATTERN
    bool isNull() const { return style == 1; }
};

struct LogFont
{
    double height = 0;
    double width = 0;
    int escapement = 0; // tenths of a degree, counter-clockwise
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 1;
    int pitchAndFamily = 0;
    QString face;
};

struct Palette
{
    QList<QRgb> colors;
};

// A region in the coordinates it was defined in: logical units (WMF) or reference
// device pixels (EMF).
struct Region
{
    QPainterPath path;
};

using GdiObject = std::variant<std::monostate, LogPen, LogBrush, LogFont, Palette, Region>;

struct DcState
{
    int mapMode = 1; // MM_TEXT
    QPointF windowOrg{0, 0};
    QSizeF windowExt{1, 1};
    QPointF viewportOrg{0, 0};
    QSizeF viewportExt{1, 1};
    bool windowOrgSet = false; // WMF: the file placed its window
    bool windowExtSet = false;
    QTransform world;

    LogPen pen;
    LogBrush brush;
    LogFont font;
    Palette palette;

    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    int bkMode = 2; // OPAQUE
    unsigned textAlign = 0;
    int polyFillMode = 1; // ALTERNATE
    int rop2 = 13; // R2_COPYPEN
    int stretchMode = 1; // BLACKONWHITE
    bool arcClockwise = false;
    double miterLimit = 10;
    double charExtra = 0;    // logical units added after every character
    double breakExtra = 0;   // logical units spread over the break characters
    int breakCount = 0;
    QPointF position; // current position, logical units
    QPointF brushOrg;

    // Clipping in the painter's coordinates; none means the target rectangle only.
    std::optional<QRegion> clip;
};

} // namespace pelorin::metafile
