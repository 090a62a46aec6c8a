// Creation and closing of the main window: the settings are read once at creation and
// written once at close, in the order of the settings table.

#include "browse/imagelistview.h"
#include "browse/listing.h"
#include "platform/error.h"
#include "platform/user.h"
#include "platform/workdir.h"
#include "shell/appstate.h"
#include "shell/hints.h"
#include "shell/mainform.h"
#include "shell/settingsstore.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QToolButton>

namespace pelorin {

namespace {
const QString kMain = QStringLiteral("Main");
const QString kWindow = QStringLiteral("Window");
} // namespace

void TMainForm::FormCreate()
{
    setHintPause(1600);
    mSplitting = false;
    AppState &state = appState();
    state.ProgramDir = includeBackslash(QCoreApplication::applicationDirPath());
    state.WindowsDir = makeWindowsDir();
    try {
        SettingsStore store;
        readSettings(store);
        state.FirstActivation = true;
        store.close();
    } catch (const Error &e) {
        // The values read so far stay; the rest of the creation steps are skipped.
        showError(e.text());
        return;
    }
    SetImageSize();
    routeHints(this, [this](const QString &hint) { ShowHint(hint); });
}

void TMainForm::readSettings(SettingsStore &store)
{
    AppState &state = appState();
    state.ThumbWidth = store.readInteger(kMain, QStringLiteral("ThumbSizew"), 70);
    state.ThumbHeight = store.readInteger(kMain, QStringLiteral("ThumbSizeh"), 70);
    if (store.readInteger(kMain, QStringLiteral("Recycle"), 0) == 1)
        RecycleFiles1->setChecked(true);
    if (store.readInteger(kMain, QStringLiteral("Hints"), 0) == 0)
        ShowHints1->setChecked(false);
    if (store.readInteger(kMain, QStringLiteral("Thumbs"), 0) == 1)
        NoThumbs1->setChecked(true);
    if (store.readInteger(kMain, QStringLiteral("List"), 0) == 1) {
        List1->setChecked(true);
        ListButton->setChecked(true);
        ListView1->setViewStyle(ImageListView::Style::Report);
        setThumbSizeCommandEnabled(false);
    }
    if (store.readInteger(kMain, QStringLiteral("NoStop"), 0) == 1)
        NoStop1->setChecked(true);
    const bool sorted = store.readInteger(kMain, QStringLiteral("Sorted"), 0) == 1;
    Sorted1->setChecked(sorted);
    ListView1->setSorted(sorted);
    if (store.readInteger(kMain, QStringLiteral("MaxSizeLimit"), 0) == 1) {
        MaximumSize1->setChecked(true);
        mInitialMaxSizeLimit = true;
    }
    mInitialMaxSize = store.readInteger(kMain, QStringLiteral("MaxSize"), 100);

    // The directory of the last run becomes the working directory again, so the tree
    // opens where the user left it. Without a saved one (the default is ProgramDir), or
    // when it no longer exists, the tree opens where the program was started.
    QString directory = store.readString(kMain, QStringLiteral("Directory"), QString());
    if (directory.size() < 3)
        directory = includeBackslash(directory);
    if (!directory.isEmpty() && QFileInfo(directory).isDir()) {
        try {
            setWorkingDirectory(directory);
        } catch (const InOutError &) {
            // Not enterable: stay in the directory the program was started in.
        }
    }

    const int width = store.readInteger(kWindow, QStringLiteral("WindowWidth"), 600);
    const int height = store.readInteger(kWindow, QStringLiteral("WindowHeight"), 450);
    resize(width, height);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (store.readString(kWindow, QStringLiteral("WindowState"), QStringLiteral("Normal")) != QLatin1String("Normal"))
        setWindowState(windowState() | Qt::WindowMaximized);
}

bool TMainForm::FormClose()
{
    try {
        SettingsStore store;
        writeSettings(store);
        store.close();
    } catch (const Error &e) {
        // The close is abandoned: the window stays open and the program goes on.
        showError(e.text());
        return false;
    }
    return true;
}

void TMainForm::writeSettings(SettingsStore &store)
{
    const AppState &state = appState();
    auto flag = [](const QAction *item) { return item->isChecked() ? 1 : 0; };
    store.writeInteger(kMain, QStringLiteral("ThumbSizew"), state.ThumbWidth);
    store.writeInteger(kMain, QStringLiteral("ThumbSizeh"), state.ThumbHeight);
    store.writeInteger(kMain, QStringLiteral("Recycle"), flag(RecycleFiles1));
    store.writeInteger(kMain, QStringLiteral("Hints"), flag(ShowHints1));
    store.writeInteger(kMain, QStringLiteral("Thumbs"), flag(NoThumbs1));
    store.writeInteger(kMain, QStringLiteral("List"), flag(List1));
    store.writeInteger(kMain, QStringLiteral("NoStop"), flag(NoStop1));
    store.writeInteger(kMain, QStringLiteral("Sorted"), flag(Sorted1));
    const SizeLimit limit = currentSizeLimit();
    store.writeInteger(kMain, QStringLiteral("MaxSizeLimit"), limit.enabled ? 1 : 0);
    store.writeInteger(kMain, QStringLiteral("MaxSize"), limit.kilobytes);
    store.writeString(kMain, QStringLiteral("Directory"), workingDirectory());
    // The frame a window manager adds is not known before the window is shown, so the
    // size read and written is the window's own, without the frame, and a restart gives
    // back the same window. A maximized or minimized window keeps its normal size.
    const bool normal = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    const QSize windowSize = normal || normalGeometry().isEmpty() ? size() : normalGeometry().size();
    store.writeInteger(kWindow, QStringLiteral("WindowWidth"), windowSize.width());
    store.writeInteger(kWindow, QStringLiteral("WindowHeight"), windowSize.height());
    store.writeString(kWindow, QStringLiteral("WindowState"), normal ? QStringLiteral("Normal") : QStringLiteral("Maximized"));
}

} // namespace pelorin
