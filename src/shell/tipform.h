#pragma once
// TTipForm: the tip of the day. Created by the main window's first activation with it
// as owner, shown modally, read (showTipsAtStartUp) and destroyed.

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;

namespace pelorin {

class TTipForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTipCount = 25;

    explicit TTipForm(QWidget *owner);
    ~TTipForm() override;

    bool showTipsAtStartUp() const;
    int tipIndex() const { return mTipIndex; }

    void NextButtonClick();
    void PreviuosButtonClick();
    void OkButtonClick();

    // The tip with this number (1 to 25) from the tip table; empty for other numbers.
    static QString tipText(int number);
    // The first tip for a random draw from 0 to 22: the draw itself, 0 counting as 1.
    static int startIndex(int draw);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showTip();

    int mTipIndex = 1;
    QFrame *mPanel1;
    QLabel *mBulb;
    QLabel *mTipName;
    QLabel *mTipLabel;
    QCheckBox *mCheckBox1;
    QPushButton *mOkButton;
    QPushButton *mNextButton;
    QPushButton *mPreviuosButton;
    QMenu *mPopupMenu1;
};

} // namespace pelorin
