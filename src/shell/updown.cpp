#include "shell/updown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace pelorin {

TUpDown::TUpDown(QWidget *parent) : QWidget(parent), mUp(new QToolButton(this)), mDown(new QToolButton(this))
{
    for (QToolButton *button : {mUp, mDown}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    mUp->setArrowType(Qt::UpArrow);
    mDown->setArrowType(Qt::DownArrow);
    mUp->setAccessibleName(QStringLiteral("Up"));
    mDown->setAccessibleName(QStringLiteral("Down"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mUp);
    layout->addWidget(mDown);
    connect(mUp, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(mDown, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void TUpDown::setAssociate(QLineEdit *edit)
{
    mAssociate = edit;
    const QRect field = edit->geometry();
    const int width = 17;
    edit->resize(field.width() - width, field.height());
    setGeometry(field.right() - width + 1, field.top(), width, field.height());
    edit->installEventFilter(this);
    edit->setText(QString::number(mPosition));
}

void TUpDown::setRange(int minimum, int maximum)
{
    mMinimum = minimum;
    mMaximum = maximum;
    setPosition(mPosition);
}

void TUpDown::takeFieldText() const
{
    if (!mAssociate)
        return;
    bool ok = false;
    const int typed = mAssociate->text().toInt(&ok);
    if (ok && typed >= mMinimum && typed <= mMaximum)
        mPosition = typed;
}

int TUpDown::position() const
{
    takeFieldText();
    return mPosition;
}

void TUpDown::setPosition(int value)
{
    const int previous = mPosition;
    mPosition = std::clamp(value, mMinimum, mMaximum);
    if (mAssociate)
        mAssociate->setText(QString::number(mPosition));
    if (mPosition != previous)
        emit positionChanged(mPosition);
}

void TUpDown::stepBy(int steps)
{
    setPosition(position() + steps);
}

bool TUpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mAssociate && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pelorin
