// The divider between tree and list, and the header strip's section resizing: both set
// the tree's width and with it status panel 0 and the place of the progress gauge.

#include "shell/mainform.h"
#include "shell/panelrow.h"
#include "shell/panelstatusbar.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QProgressBar>

namespace pelorin {

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == CenterPanel) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            CenterPanelMouseDown(static_cast<QMouseEvent *>(event)->button());
            return true;
        case QEvent::MouseMove:
            // The divider keeps the mouse while the button is held, so moves beyond its
            // one-pixel width arrive here too.
            CenterPanelMouseMove(int(static_cast<QMouseEvent *>(event)->position().x()));
            return true;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                CenterPanelMouseUp();
            return true;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::CenterPanelMouseDown(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    mSplitting = true;
    SplitLine->setGeometry(CenterPanel->geometry());
    SplitLine->show();
    SplitLine->raise();
}

void TMainForm::CenterPanelMouseMove(int x)
{
    if (!mSplitting)
        return;
    const int low = LeftPanel->x() + 20;
    const int high = RightPanel->x() + RightPanel->width() - 20;
    const int left = std::max(low, std::min(CenterPanel->x() + x, high));
    SplitLine->move(left, SplitLine->y());
    repaint();
}

void TMainForm::CenterPanelMouseUp()
{
    if (!mSplitting)
        return;
    mSplitting = false;
    SplitLine->hide();
    setTreeWidth(SplitLine->x() - 1);
    {
        const QSignalBlocker quiet(HeaderControl1);
        HeaderControl1->resizeSection(0, LeftPanel->width());
    }
    StatusBar1->setPanelWidth(0, LeftPanel->width());
    placeProgressBar();
    setStatusText(1, QStringLiteral("Adjusted Display Ratio"));
    repaint();
}

void TMainForm::HeaderControl1SectionResize()
{
    setTreeWidth(HeaderControl1->sectionSize(0));
    StatusBar1->setPanelWidth(0, LeftPanel->width());
    placeProgressBar();
    setStatusText(1, QStringLiteral("Adjusted Display Ratio"));
}

void TMainForm::setTreeWidth(int width)
{
    mPanelRow->setLeftWidth(width);
}

void TMainForm::placeProgressBar()
{
    ProgressBar1->move(StatusBar1->panelWidth(0) + StatusBar1->panelWidth(1) + 4, ProgressBar1->y());
}

} // namespace pelorin
