#include "shell/aboutbox.h"

#include "platform/error.h"
#include "shell/dialogkit.h"
#include "shell/help.h"

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>

namespace pelorin {

namespace {
constexpr int kHelpContext = 32;
}

TAboutBox::TAboutBox(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint)
    , mPanel1(new QFrame(this))
    , mProgramIcon(new QLabel(mPanel1))
    , mProductName(new QLabel(QStringLiteral("Pelorin"), mPanel1))
    , mVersion(new QLabel(QStringLiteral("Version 1.1C"), mPanel1))
    , mCloseButton(new QPushButton(QStringLiteral("&OK"), this))
    , mPopupMenu1(new QMenu(this))
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setHint(this, QStringLiteral("Pelorin Information"));
    setProperty("helpContext", kHelpContext);
    fixClientSize(this, 298, 216);

    mPanel1->setObjectName(QStringLiteral("Panel1"));
    mPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    mPanel1->setLineWidth(2);
    mPanel1->setGeometry(8, 8, 282, 153);

    mProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    mProgramIcon->setAccessibleName(QStringLiteral("Pelorin"));
    mProgramIcon->setPixmap(QPixmap(QStringLiteral(":/icons/pelorin.png")));
    mProgramIcon->setScaledContents(true);
    mProgramIcon->setGeometry(16, 16, 33, 33);

    mProductName->setObjectName(QStringLiteral("ProductName"));
    QFont large = mProductName->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.5);
    mProductName->setFont(large);
    mProductName->setGeometry(88, 16, 180, 28);

    mVersion->setObjectName(QStringLiteral("Version"));
    mVersion->setGeometry(88, 56, 180, 18);

    mCloseButton->setObjectName(QStringLiteral("CloseButton"));
    setHint(mCloseButton, QStringLiteral("Click To Close"));
    mCloseButton->setProperty("helpContext", kHelpContext);
    mCloseButton->setDefault(true);
    mCloseButton->setGeometry(111, 176, 75, 27);
    connect(mCloseButton, &QPushButton::clicked, this, &TAboutBox::CloseButtonClick);

    mPopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *whatsThis = addMenuItem(mPopupMenu1, QStringLiteral("WhatsThis1"), QStringLiteral("&What's This?"),
                                     QStringLiteral("Help On About Box"));
    whatsThis->setProperty("helpContext", kHelpContext);
    connect(whatsThis, &QAction::triggered, this, guarded([this](bool) { WhatsThis1Click(); }));
    mPopupMenu1->addSeparator();
    QAction *close = addMenuItem(mPopupMenu1, QStringLiteral("Close1"), QStringLiteral("&Close"),
                                 QStringLiteral("Close Window"));
    connect(close, &QAction::triggered, this, &TAboutBox::CloseButtonClick);
    setPopupMenu(this, mPopupMenu1);
    help::installContextHelp(this);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::CloseButtonClick()
{
    accept();
}

void TAboutBox::WhatsThis1Click()
{
    help::context(kHelpContext);
}

void TAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
    mCloseButton->setFocus();
}

} // namespace pelorin
