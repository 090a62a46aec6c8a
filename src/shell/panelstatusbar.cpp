#include "shell/panelstatusbar.h"

#include <QLabel>

namespace pelorin {

PanelStatusBar::PanelStatusBar(const QString &objectName, const QList<int> &widths, QWidget *parent)
    : QFrame(parent), mWidths(widths)
{
    setObjectName(objectName);
    for (int i = 0; i < widths.size(); ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(objectName + QStringLiteral("Panel") + QString::number(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setAccessibleName(QStringLiteral("Status Panel %1").arg(i));
        mPanels.append(label);
    }
    placePanels();
}

QString PanelStatusBar::panelText(int panel) const
{
    return mPanels.at(panel)->text();
}

void PanelStatusBar::setPanelText(int panel, const QString &text)
{
    mPanels.at(panel)->setText(text);
    emit panelTextChanged(panel, text);
}

int PanelStatusBar::panelWidth(int panel) const
{
    return mWidths.at(panel);
}

void PanelStatusBar::setPanelWidth(int panel, int width)
{
    mWidths[panel] = width;
    placePanels();
}

void PanelStatusBar::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    placePanels();
}

void PanelStatusBar::placePanels()
{
    // Panels sit side by side from the left; the last one takes what is left of the bar.
    int x = 0;
    for (int i = 0; i < mPanels.size(); ++i) {
        const int w = i + 1 == mPanels.size() ? std::max(mWidths.at(i), width() - x) : mWidths.at(i);
        mPanels.at(i)->setGeometry(x, 0, std::max(0, w), height());
        x += mWidths.at(i);
    }
}

} // namespace pelorin
