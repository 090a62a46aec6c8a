#include "shell/dialogkit.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QWidget>

namespace pelorin {

void setHint(QWidget *widget, const QString &hint)
{
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

QAction *addMenuItem(QMenu *menu, const QString &objectName, const QString &caption, const QString &hint)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(objectName);
    action->setStatusTip(hint);
    action->setToolTip(hint);
    return action;
}

void fixClientSize(QWidget *window, int width, int height)
{
    window->setFixedSize(width, height);
}

void centreOnScreen(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void setPopupMenu(QWidget *window, QMenu *menu)
{
    window->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(window, &QWidget::customContextMenuRequested, menu,
                     [window, menu](const QPoint &pos) { menu->popup(window->mapToGlobal(pos)); });
}

DigitKeyFilter::DigitKeyFilter(QObject *parent, int maxLength) : QObject(parent), mMaxLength(maxLength) {}

bool DigitKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return false;
    case Qt::Key_Delete:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    // Control with a letter types a control character (paste, cut, select all...).
    if ((key->modifiers() & Qt::ControlModifier) && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z)
        return true;
    const QString text = key->text();
    if (text.isEmpty())
        return false; // arrows, Home, End, function keys: they type nothing
    const bool digit = text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
    if (!digit)
        return true;
    if (mMaxLength > 0) {
        if (const auto *edit = qobject_cast<QLineEdit *>(watched); edit && edit->text().size() >= mMaxLength)
            return true;
    }
    return false;
}

} // namespace pelorin
