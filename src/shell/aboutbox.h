#pragma once
// TAboutBox: the about box. Created by a window's About command with that window as
// owner, shown modally and destroyed; it keeps nothing between uses.

#include <QDialog>

class QFrame;
class QLabel;
class QMenu;
class QPushButton;

namespace pelorin {

class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *owner);
    ~TAboutBox() override;

    void CloseButtonClick();
    void WhatsThis1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QFrame *mPanel1;
    QLabel *mProgramIcon;
    QLabel *mProductName;
    QLabel *mVersion;
    QPushButton *mCloseButton;
    QMenu *mPopupMenu1;
};

} // namespace pelorin
