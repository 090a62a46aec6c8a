#pragma once
// The order of captions in a sorted list: the locale's case-sensitive comparison, in
// which a lower-case letter comes before the upper-case form of the same letter.

#include <QString>

namespace pelorin {

// Negative, zero or positive as a sorts before, with or after b.
int compareCaptions(const QString &a, const QString &b);

} // namespace pelorin
