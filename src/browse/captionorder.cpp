#include "browse/captionorder.h"

#include <QCollator>
#include <QLocale>

namespace pelorin {

namespace {

QCollator makeCollator()
{
    // The C locale has no collation rules (it compares code points, upper case first);
    // a user without a language setting still gets the ordinary alphabetical order.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    collator.setNumericMode(false);
    return collator;
}

} // namespace

int compareCaptions(const QString &a, const QString &b)
{
    // One collator per thread: creating it is costly, comparing with it is not.
    thread_local const QCollator collator = makeCollator();
    const int order = collator.compare(a, b);
    if (order != 0)
        return order;
    // The collator may call strings equal that differ (ignorable characters); keep a
    // strict order then, lower case before upper case.
    const int folded = QString::compare(a.toCaseFolded(), b.toCaseFolded());
    return folded != 0 ? folded : -QString::compare(a, b);
}

} // namespace pelorin
