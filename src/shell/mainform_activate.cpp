// Activation of the main window: pruning, hints, and on the first one the tip of the day
// and the first listing.

#include "platform/error.h"
#include "platform/user.h"
#include "platform/workdir.h"
#include "shell/appstate.h"
#include "shell/dirtree.h"
#include "shell/hints.h"
#include "shell/mainform.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QScopeGuard>
#include <QTimer>
#include <QWindow>

namespace pelorin {

bool TMainForm::event(QEvent *event)
{
    if (event->type() == QEvent::Show && !mActivatedOnce) {
        // The first appearance counts as an activation whether or not the window system
        // hands the window the focus (there may be no window manager to do so).
        mActivatedOnce = true;
        mPreviousFocus = QGuiApplication::focusWindow();
        connect(qApp, &QGuiApplication::focusWindowChanged, this, &TMainForm::focusWindowChanged);
        QTimer::singleShot(0, this, guarded([this] { FormActivate(); }));
    }
    return QMainWindow::event(event);
}

void TMainForm::focusWindowChanged(QWindow *now)
{
    if (now && now == windowHandle() && cameFromNonModalWindowOfOurs()) {
        // Run once the focus change is complete: activation may let messages run.
        QTimer::singleShot(0, this, guarded([this] { FormActivate(); }));
    }
    mPreviousFocus = now;
}

bool TMainForm::cameFromNonModalWindowOfOurs() const
{
    // No previous window means the user came from another application.
    if (!mPreviousFocus || mPreviousFocus == windowHandle())
        return false;
    if (mPreviousFocus->modality() != Qt::NonModal)
        return false;
    const Qt::WindowType type = mPreviousFocus->type();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen)
        return false;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->windowHandle() == mPreviousFocus) {
            // Our dialogs are run modally; coming back from one is not an activation.
            return !qobject_cast<QDialog *>(top) && !top->isModal();
        }
    }
    return false;
}

void TMainForm::FormActivate()
{
    if (mInActivation)
        return;
    mInActivation = true;
    const auto done = qScopeGuard([this] { mInActivation = false; });

    try {
        PruneVanishedFiles();
    } catch (const Error &e) {
        showError(e.text());
        return;
    }
    routeHints(this, [this](const QString &hint) { ShowHint(hint); });
    AppState &state = appState();
    if (state.FirstActivation) {
        if (ShowHints1->isChecked())
            showTipOfTheDay();
        update();
        repaint();
        letMessagesRun();
        DirTree1->setDirectory(workingDirectory());
        state.FirstActivation = false;
    }
    emit activated();
}

} // namespace pelorin
