#include "browse/updown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace pelorin {

UpDown::UpDown(QLineEdit *buddy, int minimum, int maximum, QWidget *parent)
    : QWidget(parent), mBuddy(buddy), mMinimum(minimum), mMaximum(maximum), mPosition(minimum)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mUp = new QToolButton(this);
    mDown = new QToolButton(this);
    for (QToolButton *button : {mUp, mDown}) {
        button->setArrowType(button == mUp ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
    }
    mUp->setAccessibleName(QStringLiteral("Up"));
    mDown->setAccessibleName(QStringLiteral("Down"));
    connect(mUp, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(mDown, &QToolButton::clicked, this, [this] { stepBy(-1); });
    mBuddy->installEventFilter(this);
}

void UpDown::setPosition(int position)
{
    mPosition = std::clamp(position, mMinimum, mMaximum);
    mBuddy->setText(QString::number(mPosition));
}

void UpDown::stepBy(int steps)
{
    bool ok = false;
    const int current = mBuddy->text().trimmed().toInt(&ok);
    setPosition((ok ? std::clamp(current, mMinimum, mMaximum) : mPosition) + steps);
}

bool UpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mBuddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pelorin
