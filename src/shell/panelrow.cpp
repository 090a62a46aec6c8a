#include "shell/panelrow.h"

namespace pelorin {

PanelRow::PanelRow(QWidget *left, QWidget *divider, QWidget *right, QWidget *parent)
    : QWidget(parent), mLeft(left), mDivider(divider), mRight(right)
{
    for (QWidget *w : {left, divider, right})
        w->setParent(this);
    place();
}

void PanelRow::setLeftWidth(int width)
{
    mLeftWidth = std::max(0, width);
    place();
}

void PanelRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

void PanelRow::place()
{
    const int h = height();
    mLeft->setGeometry(0, 0, mLeftWidth, h);
    mDivider->setGeometry(mLeftWidth, 0, 1, h);
    mRight->setGeometry(mLeftWidth + 1, 0, std::max(0, width() - mLeftWidth - 1), h);
}

} // namespace pelorin
