#pragma once
// TUpDown: up and down arrows attached to a numeric edit field. Its position is an
// integer within a range (no wrap); the arrows and the Up and Down keys step it and
// write it into the field. Whenever the position is read or stepped, the field's text
// is taken first: a number within the range becomes the position, any other text
// leaves the previous position in force.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace pelorin {

class TUpDown : public QWidget
{
    Q_OBJECT
public:
    explicit TUpDown(QWidget *parent = nullptr);

    // Attaches the arrows to the right edge of edit (they take that space from it).
    void setAssociate(QLineEdit *edit);
    void setRange(int minimum, int maximum);
    int minimum() const { return mMinimum; }
    int maximum() const { return mMaximum; }

    int position() const;
    // Clamps value into the range and writes it into the field.
    void setPosition(int value);
    void stepBy(int steps);

signals:
    void positionChanged(int position);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void takeFieldText() const;

    QLineEdit *mAssociate = nullptr;
    QToolButton *mUp;
    QToolButton *mDown;
    int mMinimum = 0;
    int mMaximum = 100;
    mutable int mPosition = 0;
};

} // namespace pelorin
