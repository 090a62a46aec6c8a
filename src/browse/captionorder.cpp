#include "browse/captionorder.h"

#include <QCollator>

namespace pelorin {

int compareCaptions(const QString &a, const QString &b)
{
    // One collator per thread: creating it is costly, comparing with it is not.
    thread_local const QCollator collator = [] {
        QCollator c;
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    const int order = collator.compare(a, b);
    if (order != 0)
        return order;
    // The collator may call strings equal that differ (a locale without collation
    // data); fall back to a stable order with lower case first.
    return QString::compare(a.toCaseFolded(), b.toCaseFolded()) != 0 ? QString::compare(a.toCaseFolded(), b.toCaseFolded())
                                                                     : -QString::compare(a, b);
}

} // namespace pelorin
