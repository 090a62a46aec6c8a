#pragma once
// TThumbSizeForm: the thumbnail size dialog. Two edits take the width and height
// (digits only, at most three characters), each with up-down arrows; OK stores sizes
// between 20 and 150 in ThumbWidth and ThumbHeight and closes with OK whatever the
// outcome, so the caller always lists again with the sizes in force.

#include <QDialog>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace pelorin {

class TUpDown;

class TThumbSizeForm : public QDialog
{
    Q_OBJECT
public:
    explicit TThumbSizeForm(QWidget *parent = nullptr);
    ~TThumbSizeForm() override;

    // Handlers.
    void FormActivate();
    void OkButtonClick();
    void HelpButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *mLabel1;
    QLineEdit *mEdit1;
    TUpDown *mUpDown1;
    QLabel *mLabel2;
    QLineEdit *mEdit2;
    TUpDown *mUpDown2;
    QPushButton *mOkButton;
    QPushButton *mCancelButton;
    QPushButton *mHelpButton;
    QMenu *mPopupMenu1;
};

extern TThumbSizeForm *ThumbSizeForm;

// The run-time library's text-to-integer conversion: optional blanks and sign, then
// decimal digits or '$' and hexadecimal digits. Anything else raises pelorin::Error
// with "'<text>' is not a valid integer value".
int strToInt(const QString &text);

} // namespace pelorin
