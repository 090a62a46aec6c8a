#include "browse/thumbsizeform.h"

#include "browse/updown.h"
#include "platform/error.h"
#include "platform/user.h"
#include "shell/appstate.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>

namespace pelorin {

TThumbSizeForm *ThumbSizeForm = nullptr;

namespace {

constexpr int kMinimumSize = 20;
constexpr int kMaximumSize = 150;
constexpr int kHelpContext = 14;

QLabel *makeLabel(const QString &name, const QString &caption, QLineEdit *buddy, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    label->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    return label;
}

QLineEdit *makeEdit(const QString &name, const QString &hint, QWidget *parent)
{
    auto *edit = new QLineEdit(QStringLiteral("40"), parent);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    edit->setAccessibleName(hint);
    return edit;
}

QPushButton *makeButton(const QString &name, const QString &caption, const QString &hint, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    return button;
}

bool isDigit(const QString &text)
{
    return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

} // namespace

int strToInt(const QString &text)
{
    const auto invalid = [&text] { return Error(QStringLiteral("'%1' is not a valid integer value").arg(text)); };
    QStringView rest = QStringView(text);
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
        const bool hex = (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
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
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("ThumbSizeForm"));
    setWindowTitle(QStringLiteral("Thumb Size"));
    setToolTip(QStringLiteral("Thumb Size Window"));
    setAccessibleName(QStringLiteral("Thumb Size"));
    setFixedSize(310, 118);

    mEdit1 = makeEdit(QStringLiteral("Edit1"), QStringLiteral("Thumb Width Size"), this);
    mEdit2 = makeEdit(QStringLiteral("Edit2"), QStringLiteral("Thumb Height Size"), this);
    mLabel1 = makeLabel(QStringLiteral("Label1"), QStringLiteral("Thumb &Width"), mEdit1, this);
    mLabel2 = makeLabel(QStringLiteral("Label2"), QStringLiteral("Thumb H&eight"), mEdit2, this);
    mUpDown1 = new UpDown(mEdit1, 40, kMaximumSize, this);
    mUpDown1->setObjectName(QStringLiteral("UpDown1"));
    mUpDown1->setAccessibleName(QStringLiteral("Thumb Width"));
    mUpDown2 = new UpDown(mEdit2, 40, kMaximumSize, this);
    mUpDown2->setObjectName(QStringLiteral("UpDown2"));
    mUpDown2->setAccessibleName(QStringLiteral("Thumb Height"));
    mOkButton = makeButton(QStringLiteral("OkButton"), QStringLiteral("&OK"), QStringLiteral("Accept Changes"), this);
    mCancelButton = makeButton(QStringLiteral("CancelButton"), QStringLiteral("&Cancel"), QStringLiteral("Cancel Changes"), this);
    mHelpButton = makeButton(QStringLiteral("HelpButton"), QStringLiteral("&Help"), QStringLiteral("Help On Resize Window"), this);
    mOkButton->setDefault(true);

    mLabel1->setGeometry(16, 20, 80, 16);
    mEdit1->setGeometry(104, 16, 49, 24);
    mUpDown1->setGeometry(153, 16, 17, 24);
    mLabel2->setGeometry(16, 68, 80, 16);
    mEdit2->setGeometry(104, 64, 49, 24);
    mUpDown2->setGeometry(153, 64, 17, 24);
    mOkButton->setGeometry(208, 8, 90, 28);
    mCancelButton->setGeometry(208, 45, 90, 28);
    mHelpButton->setGeometry(208, 82, 90, 28);
    setTabOrder(mEdit1, mEdit2);
    setTabOrder(mEdit2, mOkButton);
    setTabOrder(mOkButton, mCancelButton);
    setTabOrder(mCancelButton, mHelpButton);

    mPopupMenu = new QMenu(this);
    mPopupMenu->setObjectName(QStringLiteral("PopupMenu1"));
    mWhatsThis1 = mPopupMenu->addAction(QStringLiteral("&What's This?"));
    mWhatsThis1->setObjectName(QStringLiteral("WhatsThis1"));
    mWhatsThis1->setToolTip(QStringLiteral("Help On Size Window"));
    mWhatsThis1->setStatusTip(QStringLiteral("Help On Size Window"));

    for (QLineEdit *edit : {mEdit1, mEdit2})
        edit->installEventFilter(this);

    // OK closes with OK also when its handler fails: the failure is shown, and the
    // caller lists again with the sizes in force.
    connect(mOkButton, &QPushButton::clicked, this, [this] {
        guarded([this] { OkButtonClick(); })();
        accept();
    });
    connect(mCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(mHelpButton, &QPushButton::clicked, this, [this] { guarded([this] { HelpButtonClick(); })(); });
    connect(mWhatsThis1, &QAction::triggered, this, [this] { guarded([this] { HelpButtonClick(); })(); });
}

TThumbSizeForm::~TThumbSizeForm() = default;

void TThumbSizeForm::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        if (const QScreen *screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
        FormActivate();
        mEdit1->setFocus();
    }
    QDialog::showEvent(event);
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
    const auto inRange = [](int v) { return v >= kMinimumSize && v <= kMaximumSize; };
    if (inRange(width) && inRange(height)) {
        appState().ThumbWidth = width;
        appState().ThumbHeight = height;
    } else {
        showError(QStringLiteral("Image Width Value Must Be In Range 20 To 150"));
    }
}

void TThumbSizeForm::HelpButtonClick()
{
    Q_UNUSED(kHelpContext); // HELP-PENDING: open help context 14 once the help window exists
}

// Digits, Backspace and Enter only, and nothing but Backspace and Enter once the edit
// holds three characters. Keys that type nothing (arrows, Delete, Home...) pass.
bool TThumbSizeForm::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == mEdit1 || watched == mEdit2) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        const bool typesNothing = text.isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Escape
                                  || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (typesNothing)
            return QDialog::eventFilter(watched, event);
        const bool control = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (control)
            return QDialog::eventFilter(watched, event);
        const auto *edit = static_cast<QLineEdit *>(watched);
        if (isDigit(text) && edit->text().size() < 3)
            return QDialog::eventFilter(watched, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TThumbSizeForm::contextMenuEvent(QContextMenuEvent *event)
{
    mPopupMenu->popup(event->globalPos());
}

} // namespace pelorin
