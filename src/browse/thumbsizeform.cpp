#include "browse/thumbsizeform.h"

#include "platform/error.h"
#include "platform/user.h"
#include "shell/appstate.h"
#include "shell/dialogkit.h"
#include "shell/help.h"
#include "shell/updown.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>

#include <limits>

namespace pelorin {

TThumbSizeForm *ThumbSizeForm = nullptr;

namespace {

constexpr int kMinimumSize = 20;
constexpr int kMaximumSize = 150;
constexpr int kArrowMinimum = 40;
constexpr int kHelpContext = 14;
constexpr int kMaxDigits = 3;

QLineEdit *makeEdit(const QString &name, const QString &hint, const QRect &geometry, QWidget *parent)
{
    auto *edit = new QLineEdit(QStringLiteral("40"), parent);
    edit->setObjectName(name);
    setHint(edit, hint);
    edit->setAccessibleName(hint);
    edit->setGeometry(geometry);
    edit->installEventFilter(new DigitKeyFilter(edit, kMaxDigits));
    return edit;
}

QLabel *makeLabel(const QString &name, const QString &caption, QLineEdit *buddy, const QRect &geometry, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    label->setGeometry(geometry);
    return label;
}

TUpDown *makeUpDown(const QString &name, QLineEdit *edit, QWidget *parent)
{
    auto *upDown = new TUpDown(parent);
    upDown->setObjectName(name);
    upDown->setAccessibleName(edit->accessibleName());
    upDown->setRange(kArrowMinimum, kMaximumSize);
    upDown->setAssociate(edit);
    return upDown;
}

QPushButton *makeButton(const QString &name, const QString &caption, const QString &hint, const QRect &geometry,
                        QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    setHint(button, hint);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

} // namespace

int strToInt(const QString &text)
{
    const auto invalid = [&text] { return Error(QStringLiteral("'%1' is not a valid integer value").arg(text)); };
    QStringView rest(text);
    while (!rest.isEmpty() && rest.front() == QLatin1Char(' '))
        rest = rest.mid(1);
    bool negative = false;
    if (!rest.isEmpty() && (rest.front() == QLatin1Char('-') || rest.front() == QLatin1Char('+'))) {
        negative = rest.front() == QLatin1Char('-');
        rest = rest.mid(1);
    }
    int base = 10;
    if (rest.startsWith(QLatin1Char('$'))) {
        base = 16;
        rest = rest.mid(1);
    } else if (rest.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        rest = rest.mid(2);
    }
    if (rest.isEmpty())
        throw invalid();
    for (const QChar c : rest) {
        const bool decimal = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const QChar lower = c.toLower();
        const bool hex = lower >= QLatin1Char('a') && lower <= QLatin1Char('f');
        if (!decimal && !(base == 16 && hex))
            throw invalid();
    }
    bool ok = false;
    const qlonglong value = rest.toLongLong(&ok, base);
    const qlonglong signedValue = negative ? -value : value;
    if (!ok || signedValue < std::numeric_limits<int>::min() || signedValue > std::numeric_limits<int>::max())
        throw invalid();
    return int(signedValue);
}

TThumbSizeForm::TThumbSizeForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("ThumbSizeForm"));
    setWindowTitle(QStringLiteral("Thumb Size"));
    setHint(this, QStringLiteral("Thumb Size Window"));
    setProperty("helpContext", kHelpContext);
    fixClientSize(this, 310, 118);

    mEdit1 = makeEdit(QStringLiteral("Edit1"), QStringLiteral("Thumb Width Size"), QRect(112, 16, 66, 23), this);
    mEdit2 = makeEdit(QStringLiteral("Edit2"), QStringLiteral("Thumb Height Size"), QRect(112, 64, 66, 23), this);
    mLabel1 = makeLabel(QStringLiteral("Label1"), QStringLiteral("Thumb &Width"), mEdit1, QRect(16, 20, 90, 16), this);
    mLabel2 = makeLabel(QStringLiteral("Label2"), QStringLiteral("Thumb H&eight"), mEdit2, QRect(16, 68, 90, 16), this);
    mUpDown1 = makeUpDown(QStringLiteral("UpDown1"), mEdit1, this);
    mUpDown2 = makeUpDown(QStringLiteral("UpDown2"), mEdit2, this);
    mOkButton = makeButton(QStringLiteral("OkButton"), QStringLiteral("&OK"), QStringLiteral("Accept Changes"),
                           QRect(208, 8, 88, 27), this);
    mCancelButton = makeButton(QStringLiteral("CancelButton"), QStringLiteral("&Cancel"),
                               QStringLiteral("Cancel Changes"), QRect(208, 45, 88, 27), this);
    mHelpButton = makeButton(QStringLiteral("HelpButton"), QStringLiteral("&Help"),
                             QStringLiteral("Help On Resize Window"), QRect(208, 82, 88, 27), this);
    mOkButton->setDefault(true);

    mPopupMenu1 = new QMenu(this);
    mPopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *whatsThis = addMenuItem(mPopupMenu1, QStringLiteral("WhatsThis1"), QStringLiteral("&What's This?"),
                                     QStringLiteral("Help On Size Window"));
    whatsThis->setProperty("helpContext", kHelpContext);
    setPopupMenu(this, mPopupMenu1);

    // OK closes with OK also when its handler fails: the failure is shown, and the
    // caller lists again with the sizes in force.
    connect(mOkButton, &QPushButton::clicked, this, [this] {
        guarded([this] { OkButtonClick(); })();
        accept();
    });
    connect(mCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(mHelpButton, &QPushButton::clicked, this, guarded([this](bool) { HelpButtonClick(); }));
    connect(whatsThis, &QAction::triggered, this, guarded([this](bool) { HelpButtonClick(); }));

    setTabOrder(mEdit1, mEdit2);
    setTabOrder(mEdit2, mOkButton);
    setTabOrder(mOkButton, mCancelButton);
    setTabOrder(mCancelButton, mHelpButton);
    help::installContextHelp(this);
}

TThumbSizeForm::~TThumbSizeForm() = default;

void TThumbSizeForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centreOnScreen(this);
    FormActivate();
    mEdit1->setFocus();
}

void TThumbSizeForm::FormActivate()
{
    mEdit1->setText(QString::number(appState().ThumbWidth));
    mEdit2->setText(QString::number(appState().ThumbHeight));
}

void TThumbSizeForm::OkButtonClick()
{
    const int width = strToInt(mEdit1->text());
    const int height = strToInt(mEdit2->text());
    const auto inRange = [](int value) { return value >= kMinimumSize && value <= kMaximumSize; };
    if (inRange(width) && inRange(height)) {
        appState().ThumbWidth = width;
        appState().ThumbHeight = height;
    } else {
        showError(QStringLiteral("Image Width Value Must Be In Range 20 To 150"));
    }
}

void TThumbSizeForm::HelpButtonClick()
{
    help::context(kHelpContext);
}

} // namespace pelorin
