#pragma once
// A status bar of fixed-width panels side by side, each a QLabel named
// "<objectName>Panel<i>" so that tests and acceptance checks can read its text, with
// room for a progress gauge placed on the bar by its owner.

#include <QFrame>
#include <QList>

class QLabel;

namespace pelorin {

class PanelStatusBar : public QFrame
{
    Q_OBJECT
public:
    // Sets the object name (the panels take theirs from it) and creates the panels.
    PanelStatusBar(const QString &objectName, const QList<int> &widths, QWidget *parent = nullptr);

    int panelCount() const { return int(mPanels.size()); }
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString &text);
    int panelWidth(int panel) const;
    void setPanelWidth(int panel, int width);
    QLabel *panel(int panel) const { return mPanels.at(panel); }

signals:
    void panelTextChanged(int panel, const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placePanels();

    QList<QLabel *> mPanels;
    QList<int> mWidths;
};

} // namespace pelorin
