#pragma once
// TMaxSizeForm: the Maximum Size dialog. Created once at start-up and kept for the
// whole run; its controls hold the size limit that the listing applies: the limit is in
// force while CheckBox1 is checked, and its size in kilobytes is UpDown1's position.

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace pelorin {

class TUpDown;

class TMaxSizeForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMinimumKilobytes = 50;
    static constexpr int kMaximumKilobytes = 32000;

    // limitEnabled checks CheckBox1; sizeKilobytes becomes UpDown1's position (and the
    // text of SizeEdit), kept within 50 to 32000.
    TMaxSizeForm(bool limitEnabled, int sizeKilobytes, QWidget *parent = nullptr);
    ~TMaxSizeForm() override;

    bool limitEnabled() const;
    // UpDown1's position, after taking a typed value from 50 to 32000 out of SizeEdit.
    int limitKilobytes() const;

    void WhatsThis1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *mLabel1;
    QLineEdit *mSizeEdit;
    TUpDown *mUpDown1;
    QLabel *mLabel2;
    QCheckBox *mCheckBox1;
    QPushButton *mOkButton;
    QPushButton *mHelpButton;
    QMenu *mPopupMenu1;
};

extern TMaxSizeForm *MaxSizeForm;

} // namespace pelorin
