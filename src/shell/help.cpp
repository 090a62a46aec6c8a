#include "shell/help.h"

#include "platform/error.h"
#include "platform/user.h"
#include "platform/workdir.h"
#include "shell/appstate.h"
#include "shell/helpwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <functional>

namespace pelorin::help {

namespace {

const char kHelpContext[] = "helpContext";
const char kContextHelpWindow[] = "pelorinContextHelp";

QPointer<THelpWindow> theWindow;

// Moves the help window to another parent (or none), keeping its place and visibility.
void moveHelpTo(QWidget *parent)
{
    const QRect geometry = theWindow->geometry();
    const bool visible = theWindow->isVisible();
    theWindow->setParent(parent, Qt::Window);
    theWindow->setGeometry(geometry);
    theWindow->setVisible(visible);
}

// When the modal dialog that holds the help window closes, the help stays open as a
// window of its own instead of going away with the dialog.
class ModalWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide && watched == parent()) {
            if (theWindow && theWindow->parentWidget() == watched)
                moveHelpTo(nullptr);
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }
};

THelpWindow *window()
{
    if (!theWindow) {
        theWindow = new THelpWindow;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, theWindow.data(), [] { delete theWindow.data(); });
    }
    // A modal dialog blocks every window but its own: while one is open the help window
    // belongs to it, so that the help it was opened for can be read and scrolled.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal != theWindow->parentWidget() && modal != theWindow) {
        moveHelpTo(modal);
        if (modal)
            modal->installEventFilter(new ModalWatcher(modal));
    }
    return theWindow;
}

// Opens the help window on the topics in topicDir (absolute) and runs show on it.
// A missing topic directory is reported the way a help viewer reports a missing file.
void openWindow(const QString &topicDir, const std::function<void(THelpWindow &)> &show)
{
    if (!QDir(topicDir).exists()) {
        showError(QStringLiteral("Cannot find the help topics in %1.").arg(QDir::toNativeSeparators(topicDir)));
        return;
    }
    THelpWindow *help = window();
    if (help->topicDirectory() != QDir::cleanPath(topicDir))
        help->setTopicDirectory(topicDir);
    show(*help);
    help->show();
    help->raise();
    help->activateWindow();
}

// The help is found relative to the working directory, so it is opened from ProgramDir
// and the previous working directory is made current again afterwards.
void fromProgramDir(const std::function<void(THelpWindow &)> &show)
{
    const QString saved = workingDirectory();
    const QString programDir = appState().ProgramDir;
    setWorkingDirectory(programDir);
    try {
        openWindow(QDir::current().absoluteFilePath(topicDirectory(programDir)), show);
    } catch (...) {
        try {
            setWorkingDirectory(saved);
        } catch (...) {
            // The first error is the one worth reporting.
        }
        throw;
    }
    setWorkingDirectory(saved);
}

int contextOf(const QObject *object)
{
    if (!object)
        return 0;
    bool ok = false;
    const int number = object->property(kHelpContext).toInt(&ok);
    return ok ? number : 0;
}

// The help context of the highlighted item of an open menu or of the menu bar: the
// item's own, else its menu's, else that menu's item in the parent menu.
int menuContext(QWidget *popup)
{
    for (QWidget *w = popup; w; w = w->parentWidget()) {
        QAction *action = nullptr;
        if (auto *menu = qobject_cast<QMenu *>(w))
            action = menu->activeAction();
        else if (auto *bar = qobject_cast<QMenuBar *>(w))
            action = bar->activeAction();
        else
            break;
        if (int number = contextOf(action))
            return number;
        if (int number = contextOf(w))
            return number;
        if (auto *menu = qobject_cast<QMenu *>(w)) {
            if (int number = contextOf(menu->menuAction()))
                return number;
        }
    }
    return 0;
}

bool hasContextHelp(const QWidget *w)
{
    return w && w->window()->property(kContextHelpWindow).toBool();
}

// F1 anywhere in a window that asked for context help.
class ContextHelpFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1
            || static_cast<QKeyEvent *>(event)->modifiers() != Qt::NoModifier)
            return QObject::eventFilter(watched, event);
        int number = 0;
        QWidget *popup = QApplication::activePopupWidget();
        if (qobject_cast<QMenu *>(popup)) {
            QWidget *owner = popup;
            while (qobject_cast<QMenu *>(owner) && owner->parentWidget())
                owner = owner->parentWidget();
            if (!hasContextHelp(owner))
                return QObject::eventFilter(watched, event);
            number = menuContext(popup);
        } else {
            QWidget *focus = QApplication::focusWidget();
            if (!focus)
                focus = qobject_cast<QWidget *>(watched);
            if (!hasContextHelp(focus))
                return QObject::eventFilter(watched, event);
            if (qobject_cast<QMenuBar *>(focus))
                number = menuContext(focus);
            for (QWidget *w = focus; w && !number; w = w->parentWidget())
                number = contextOf(w);
        }
        if (popup)
            popup->close();
        guarded([number] {
            if (number > 0)
                context(number);
            else
                contents();
        })();
        return true;
    }
};

} // namespace

QString topicDirectory(const QString &programDir)
{
    if (QDir(includeBackslash(programDir) + QStringLiteral("help")).exists())
        return QStringLiteral("help/");
    return QStringLiteral("../share/pelorin/help/");
}

void contents()
{
    fromProgramDir([](THelpWindow &w) { w.showContents(); });
}

void search()
{
    fromProgramDir([](THelpWindow &w) { w.showSearch(); });
}

void helpOnHelp()
{
    // Needs no working directory: the topic is addressed from ProgramDir directly.
    const QString programDir = includeBackslash(appState().ProgramDir);
    openWindow(QDir(programDir).absoluteFilePath(topicDirectory(programDir)),
               [](THelpWindow &w) { w.showTopic(QStringLiteral("usinghelp.html")); });
}

void context(int number)
{
    fromProgramDir([number](THelpWindow &w) { w.showTopic(THelpWindow::fileNameForContext(number)); });
}

void installContextHelp(QWidget *window)
{
    static QPointer<ContextHelpFilter> filter;
    if (!filter) {
        filter = new ContextHelpFilter(qApp);
        qApp->installEventFilter(filter);
    }
    window->setProperty(kContextHelpWindow, true);
}

} // namespace pelorin::help
