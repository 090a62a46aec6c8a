#pragma once
// Up-down arrows attached to an edit: each click (or the Up and Down keys in the edit)
// takes the edit's number, steps it by one within the range without wrapping, and
// writes it back. A text that is no number steps from the last position.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace pelorin {

class UpDown : public QWidget
{
    Q_OBJECT
public:
    UpDown(QLineEdit *buddy, int minimum, int maximum, QWidget *parent = nullptr);
    int position() const { return mPosition; }
    void setPosition(int position);
    void stepBy(int steps);
    QToolButton *upButton() const { return mUp; }
    QToolButton *downButton() const { return mDown; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *mBuddy;
    QToolButton *mUp;
    QToolButton *mDown;
    int mMinimum;
    int mMaximum;
    int mPosition;
};

} // namespace pelorin
