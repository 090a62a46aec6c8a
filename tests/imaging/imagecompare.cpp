#include "imagecompare.h"

#include <cstdlib>

namespace pelorin::test {

QString compareImages(const QImage &actual, const QImage &expected, int tolerance, double meanTolerance)
{
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    qint64 outliers = 0;
    qint64 total = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *pa = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *pe = reinterpret_cast<const QRgb *>(e.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (qAlpha(pa[x]) == 0 && qAlpha(pe[x]) == 0)
                continue;
            const int d[4] = {std::abs(qRed(pa[x]) - qRed(pe[x])), std::abs(qGreen(pa[x]) - qGreen(pe[x])),
                              std::abs(qBlue(pa[x]) - qBlue(pe[x])), std::abs(qAlpha(pa[x]) - qAlpha(pe[x]))};
            for (int c : d) {
                total += c;
                if (c > tolerance)
                    ++outliers;
            }
        }
    }
    if (meanTolerance > 0) {
        const double mean = double(total) / (4.0 * a.width() * a.height());
        return mean <= meanTolerance ? QString() : QStringLiteral("mean difference %1").arg(mean);
    }
    return outliers == 0 ? QString() : QStringLiteral("%1 channel values differ").arg(outliers);
}

} // namespace pelorin::test
