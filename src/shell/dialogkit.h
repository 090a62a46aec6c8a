#pragma once
// Small helpers shared by the program's fixed-layout dialogs: hints, popup-menu items,
// centring and the digits-only key filter of the numeric fields.

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace pelorin {

// A control's hint: its tool tip and the text the status line shows while the mouse
// is over it.
void setHint(QWidget *widget, const QString &hint);

// Adds a menu item with its object name, caption and hint.
QAction *addMenuItem(QMenu *menu, const QString &objectName, const QString &caption, const QString &hint);

// Gives window a fixed client area and places it at the centre of its screen.
void fixClientSize(QWidget *window, int width, int height);
void centreOnScreen(QWidget *window);

// Shows menu at the cursor when window (or one of its children without a menu of its
// own) is right-clicked.
void setPopupMenu(QWidget *window, QMenu *menu);

// Key filter of a numeric field: only the digits 0 to 9, Backspace and Enter get through
// as typed characters; every other character (letters, signs, blanks, control characters
// such as the paste shortcut) is discarded. Keys that type nothing (arrows, Delete, Tab,
// Escape) are left alone. With maxLength > 0, once the field holds that many characters
// everything but Backspace and Enter is discarded as well.
class DigitKeyFilter : public QObject
{
    Q_OBJECT
public:
    explicit DigitKeyFilter(QObject *parent = nullptr, int maxLength = 0);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int mMaxLength;
};

} // namespace pelorin
