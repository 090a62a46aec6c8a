#include "shell/tipform.h"

#include "shell/dialogkit.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QRandomGenerator>

namespace pelorin {

namespace {

// The numbered tip table of the resources: one tip a line, "<number><tab><text>".
const QMap<int, QString> &tipTable()
{
    static const QMap<int, QString> table = [] {
        QMap<int, QString> tips;
        QFile file(QStringLiteral(":/text/tips.txt"));
        if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            for (const QByteArray &line : file.readAll().split('\n')) {
                const int tab = line.indexOf('\t');
                bool ok = false;
                const int number = line.left(tab).toInt(&ok);
                if (tab > 0 && ok)
                    tips.insert(number, QString::fromUtf8(line.mid(tab + 1)));
            }
        }
        return tips;
    }();
    return table;
}

} // namespace

TTipForm::TTipForm(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint)
    , mPanel1(new QFrame(this))
    , mBulb(new QLabel(mPanel1))
    , mTipName(new QLabel(QStringLiteral("Todays Tip"), mPanel1))
    , mTipLabel(new QLabel(mPanel1))
    , mCheckBox1(new QCheckBox(QStringLiteral("&Show Tips At Start Up"), this))
    , mOkButton(new QPushButton(QStringLiteral("&OK"), this))
    , mNextButton(new QPushButton(QStringLiteral("&Next"), this))
    , mPreviuosButton(new QPushButton(QStringLiteral("&Previuos"), this))
    , mPopupMenu1(new QMenu(this))
{
    const QString hint = QStringLiteral("Todays Tip");
    setObjectName(QStringLiteral("TipForm"));
    setWindowTitle(QStringLiteral("Tip Of The Day"));
    setHint(this, hint);
    fixClientSize(this, 380, 190);

    mPanel1->setObjectName(QStringLiteral("Panel1"));
    setHint(mPanel1, hint);
    mPanel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    mPanel1->setAutoFillBackground(true);
    QPalette white = mPanel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    mPanel1->setPalette(white);
    mPanel1->setGeometry(16, 16, 241, 129);

    mBulb->setObjectName(QStringLiteral("iBulb"));
    setHint(mBulb, hint);
    mBulb->setAccessibleName(hint);
    mBulb->setPixmap(QPixmap(QStringLiteral(":/icons/bulb.png")));
    mBulb->setScaledContents(true);
    mBulb->setGeometry(8, 8, 33, 33);

    mTipName->setObjectName(QStringLiteral("TipName"));
    setHint(mTipName, hint);
    QFont bold = mTipName->font();
    bold.setBold(true);
    mTipName->setFont(bold);
    mTipName->setGeometry(52, 16, 180, 18);

    mTipLabel->setObjectName(QStringLiteral("TipLabel"));
    setHint(mTipLabel, hint);
    mTipLabel->setWordWrap(true);
    mTipLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mTipLabel->setGeometry(16, 52, 209, 65);

    mCheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    setHint(mCheckBox1, QStringLiteral("Check To Show Tips"));
    mCheckBox1->setChecked(true);
    mCheckBox1->setGeometry(16, 156, 241, 20);

    const auto placeButton = [](QPushButton *button, const char *name, const QString &buttonHint, int top) {
        button->setObjectName(QString::fromLatin1(name));
        setHint(button, buttonHint);
        button->setGeometry(272, top, 92, 27);
    };
    placeButton(mOkButton, "OkButton", QStringLiteral("Click To Close"), 16);
    placeButton(mNextButton, "NextButton", QStringLiteral("Show Next Tip"), 52);
    placeButton(mPreviuosButton, "PreviuosButton", QStringLiteral("Show Last Tip"), 88);
    mOkButton->setDefault(true);
    mNextButton->setAutoDefault(false);
    mPreviuosButton->setAutoDefault(false);
    connect(mOkButton, &QPushButton::clicked, this, &TTipForm::OkButtonClick);
    connect(mNextButton, &QPushButton::clicked, this, &TTipForm::NextButtonClick);
    connect(mPreviuosButton, &QPushButton::clicked, this, &TTipForm::PreviuosButtonClick);

    mPopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *close = addMenuItem(mPopupMenu1, QStringLiteral("Close1"), QStringLiteral("&Close"),
                                 QStringLiteral("Close Window"));
    connect(close, &QAction::triggered, this, &TTipForm::OkButtonClick);
    setPopupMenu(this, mPopupMenu1);

    // FormCreate: a random first tip, one of 1 to 22.
    mTipIndex = startIndex(int(QRandomGenerator::global()->bounded(23)));
    showTip();
}

TTipForm::~TTipForm() = default;

bool TTipForm::showTipsAtStartUp() const
{
    return mCheckBox1->isChecked();
}

int TTipForm::startIndex(int draw)
{
    return draw == 0 ? 1 : draw;
}

QString TTipForm::tipText(int number)
{
    return tipTable().value(number);
}

void TTipForm::showTip()
{
    mTipLabel->setText(tipText(mTipIndex));
}

void TTipForm::NextButtonClick()
{
    mTipIndex = mTipIndex >= kTipCount ? 1 : mTipIndex + 1;
    showTip();
}

void TTipForm::PreviuosButtonClick()
{
    mTipIndex = mTipIndex <= 1 ? kTipCount : mTipIndex - 1;
    showTip();
}

void TTipForm::OkButtonClick()
{
    accept();
}

void TTipForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}

} // namespace pelorin
