#include "shell/maxsizeform.h"

#include "platform/error.h"
#include "shell/dialogkit.h"
#include "shell/help.h"
#include "shell/updown.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace pelorin {

TMaxSizeForm *MaxSizeForm = nullptr;

namespace {
constexpr int kHelpContext = 38;
}

TMaxSizeForm::TMaxSizeForm(bool limitEnabled, int sizeKilobytes, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint)
    , mLabel1(new QLabel(QStringLiteral("&Maximum File Size"), this))
    , mSizeEdit(new QLineEdit(this))
    , mUpDown1(new TUpDown(this))
    , mLabel2(new QLabel(QStringLiteral("KBytes"), this))
    , mCheckBox1(new QCheckBox(QStringLiteral("&Enable Maximum Size"), this))
    , mOkButton(new QPushButton(QStringLiteral("&OK"), this))
    , mHelpButton(new QPushButton(QStringLiteral("&Help"), this))
    , mPopupMenu1(new QMenu(this))
{
    setObjectName(QStringLiteral("MaxSizeForm"));
    setWindowTitle(QStringLiteral("Maximum Size"));
    setHint(this, QStringLiteral("Maximum Size Window"));
    setProperty("helpContext", kHelpContext);
    fixClientSize(this, 243, 183);

    mLabel1->setObjectName(QStringLiteral("Label1"));
    setHint(mLabel1, QStringLiteral("Maximum File Size"));
    mLabel1->setBuddy(mSizeEdit);
    mLabel1->setGeometry(24, 16, 150, 16);

    mSizeEdit->setObjectName(QStringLiteral("SizeEdit"));
    setHint(mSizeEdit, QStringLiteral("Maximum File Size"));
    mSizeEdit->setAccessibleName(QStringLiteral("Maximum File Size"));
    mSizeEdit->setGeometry(24, 36, 121, 23);
    mSizeEdit->setText(QStringLiteral("60"));
    mSizeEdit->installEventFilter(new DigitKeyFilter(mSizeEdit));

    mUpDown1->setObjectName(QStringLiteral("UpDown1"));
    setHint(mUpDown1, QStringLiteral("Maimum File Size"));
    mUpDown1->setAccessibleName(QStringLiteral("Maimum File Size"));
    mUpDown1->setRange(kMinimumKilobytes, kMaximumKilobytes);
    mUpDown1->setAssociate(mSizeEdit);

    mLabel2->setObjectName(QStringLiteral("Label2"));
    mLabel2->setGeometry(152, 40, 60, 16);

    mCheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    setHint(mCheckBox1, QStringLiteral("Enable Maximum File Size"));
    mCheckBox1->setGeometry(24, 80, 200, 20);

    mOkButton->setObjectName(QStringLiteral("OKButton"));
    setHint(mOkButton, QStringLiteral("Accept Settings"));
    mOkButton->setDefault(true);
    mOkButton->setGeometry(32, 136, 80, 27);
    connect(mOkButton, &QPushButton::clicked, this, &QDialog::accept);

    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    mHelpButton->setAutoDefault(false);
    mHelpButton->setGeometry(130, 136, 80, 27);
    connect(mHelpButton, &QPushButton::clicked, this, guarded([this](bool) { WhatsThis1Click(); }));

    mPopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *whatsThis = addMenuItem(mPopupMenu1, QStringLiteral("WhatsThis1"), QStringLiteral("&What's This?"),
                                     QStringLiteral("Help On Maximum Size Window"));
    whatsThis->setProperty("helpContext", kHelpContext);
    connect(whatsThis, &QAction::triggered, this, guarded([this](bool) { WhatsThis1Click(); }));
    setPopupMenu(this, mPopupMenu1);

    // FormCreate: the settings read at start-up.
    mCheckBox1->setChecked(limitEnabled);
    mUpDown1->setPosition(sizeKilobytes);

    setTabOrder(mSizeEdit, mCheckBox1);
    setTabOrder(mCheckBox1, mOkButton);
    setTabOrder(mOkButton, mHelpButton);
    help::installContextHelp(this);
}

TMaxSizeForm::~TMaxSizeForm() = default;

bool TMaxSizeForm::limitEnabled() const
{
    return mCheckBox1->isChecked();
}

int TMaxSizeForm::limitKilobytes() const
{
    return mUpDown1->position();
}

void TMaxSizeForm::WhatsThis1Click()
{
    help::context(kHelpContext);
}

void TMaxSizeForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
    mSizeEdit->setFocus();
}

} // namespace pelorin
