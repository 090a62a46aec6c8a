#pragma once
// The middle of the main window: the tree's panel on the left at a width of its own, the
// one-pixel divider, and the list's panel taking the rest. The left panel keeps the width
// it is given even when that leaves the right panel no room.

#include <QWidget>

namespace pelorin {

class PanelRow : public QWidget
{
    Q_OBJECT
public:
    PanelRow(QWidget *left, QWidget *divider, QWidget *right, QWidget *parent = nullptr);
    int leftWidth() const { return mLeftWidth; }
    void setLeftWidth(int width);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void place();

    QWidget *mLeft;
    QWidget *mDivider;
    QWidget *mRight;
    int mLeftWidth = 210;
};

} // namespace pelorin
