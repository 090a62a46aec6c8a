#include "imaging/metafile/pathclip.h"

#include <QPolygonF>

namespace pelorin::metafile {

namespace {

// One half-plane of the rectangle: points with coordinate `axis` on the kept side of
// `limit` (below it when `below`).
struct Edge
{
    bool vertical; // true: a limit on x
    double limit;
    bool below;

    bool inside(QPointF p) const
    {
        const double v = vertical ? p.x() : p.y();
        return below ? v <= limit : v >= limit;
    }
    QPointF crossing(QPointF a, QPointF b) const
    {
        if (vertical) {
            const double t = (limit - a.x()) / (b.x() - a.x());
            return {limit, a.y() + t * (b.y() - a.y())};
        }
        const double t = (limit - a.y()) / (b.y() - a.y());
        return {a.x() + t * (b.x() - a.x()), limit};
    }
};

// Sutherland-Hodgman against one half-plane. A run outside becomes the straight segment
// between its two crossings, which lies on the edge's line.
QPolygonF clipAgainst(const QPolygonF &in, const Edge &edge, bool closed)
{
    QPolygonF out;
    const qsizetype n = in.size();
    if (n == 0)
        return out;
    out.reserve(n + 4);
    qsizetype first = 0;
    QPointF previous = in.last();
    if (!closed) {
        previous = in.first();
        if (edge.inside(previous))
            out.append(previous);
        first = 1;
    }
    for (qsizetype i = first; i < n; ++i) {
        const QPointF current = in.at(i);
        const bool currentInside = edge.inside(current);
        if (currentInside != edge.inside(previous))
            out.append(edge.crossing(previous, current));
        if (currentInside)
            out.append(current);
        previous = current;
    }
    return out;
}

} // namespace

QPainterPath clipToRect(const QPainterPath &path, const QRectF &rect, bool closed)
{
    const QRectF r = rect.normalized();
    const Edge edges[] = {{true, r.left(), false}, {true, r.right(), true}, {false, r.top(), false},
                          {false, r.bottom(), true}};
    QPainterPath result;
    result.setFillRule(path.fillRule());
    for (QPolygonF polygon : path.toSubpathPolygons()) {
        const bool shut = polygon.size() > 2 && polygon.first() == polygon.last();
        if (shut)
            polygon.removeLast();
        for (const Edge &edge : edges)
            polygon = clipAgainst(polygon, edge, closed || shut);
        if (polygon.size() < 2)
            continue;
        result.addPolygon(polygon);
        if (closed || shut)
            result.closeSubpath();
    }
    return result;
}

} // namespace pelorin::metafile
