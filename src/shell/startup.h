#pragma once
// Program start: the long-lived windows, created once in a fixed order with the main
// window first, and reachable through their global references until the program ends.

namespace pelorin {

// Creates every long-lived window in order; only the main window is shown (by the caller).
void createLongLivedWindows();
// Destroys them in reverse order (at exit, and between tests).
void destroyLongLivedWindows();

} // namespace pelorin
