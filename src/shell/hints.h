#pragma once
// The application's hint line. Whatever hint the user points at (the status tip of the
// control under the mouse or of the highlighted menu item) goes to one handler, the one
// of the window that routed hints to itself last (a window does so when it is activated).

#include <QString>

#include <functional>

class QObject;

namespace pelorin {

// Routes every hint to handler while owner lives; the empty text when the mouse leaves.
void routeHints(QObject *owner, std::function<void(const QString &)> handler);
// The pause before a control's tooltip appears, for the whole application.
void setHintPause(int milliseconds);

} // namespace pelorin
