#pragma once
// The program's shared state. One instance for the whole run, touched only on the
// user-interface thread; the names are the ones every subsystem uses.

#include <QString>
#include <QStringList>

#include <optional>

namespace pelorin {

struct AppState
{
    // The directory whose files the main list shows, as the tree delivers it (ends in '/').
    QString CurrentDir;
    // "bmp", "dib", "emf", "gif", "ico", "jpg", "pcx", "png", "tif", "wmf" or "all"; empty counts as "bmp".
    QString ExtFilter;
    // Bare names collected by the running listing; exists only while a listing runs.
    std::optional<QStringList> FileNames;
    // Files found by the last completed listing.
    int FileCount = 0;
    // Set by the Stop button; a loop that honours it clears it and stops.
    bool StopFlag = false;
    // True while an operation runs that Stop cannot interrupt.
    bool StopLocked = false;
    int ThumbWidth = 70;
    int ThumbHeight = 70;
    // Where the program and its help live; ends in '/'.
    QString ProgramDir;
    // The program's private scratch directory for temporary image files; ends in '/'.
    QString WindowsDir;
    // Set once the settings are loaded; cleared by the main window's first activation.
    bool FirstActivation = false;
};

AppState &appState();

// Creates the private scratch directory (mode 0700, under $XDG_RUNTIME_DIR or the
// temporary directory) and returns it with a trailing '/'. It is removed at exit.
QString makeWindowsDir();

} // namespace pelorin
