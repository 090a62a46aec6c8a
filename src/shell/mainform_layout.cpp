// The main window's component tree: command bar, type bar, header strip, tree, divider,
// list and status bar with its progress gauge.

#include "browse/imagelistview.h"
#include "shell/dirtree.h"
#include "shell/mainform.h"
#include "shell/panelrow.h"
#include "shell/panelstatusbar.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QProgressBar>
#include <QStandardItemModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace pelorin {

namespace {

QFrame *makePanel(const QString &name, QWidget *parent)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    return panel;
}

void setHint(QWidget *widget, const QString &hint)
{
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

QToolButton *makeButton(QWidget *parent, const char *name, const QString &hint, QRect geometry)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setGeometry(geometry);
    setHint(button, hint);
    return button;
}

QToolButton *makeIconButton(QWidget *parent, const char *name, const char *icon, const QString &hint, QRect geometry)
{
    QToolButton *button = makeButton(parent, name, hint, geometry);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(icon))));
    button->setIconSize(geometry.size() - QSize(8, 8));
    button->setAccessibleName(hint);
    return button;
}

} // namespace

void TMainForm::attachPopup(QWidget *widget, QMenu *menu)
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, menu,
            [widget, menu](const QPoint &pos) { menu->popup(widget->mapToGlobal(pos)); });
}

void TMainForm::buildCommandBar()
{
    struct Spec
    {
        QToolButton *TMainForm::*member;
        const char *name;
        const char *icon;
        const char *hint;
    };
    static const Spec buttons[] = {
        {&TMainForm::MoveButton, "MoveButton", "move", "Move Selected Files"},
        {&TMainForm::CopyButton, "CopyButton", "copy", "Copy Selected Files"},
        {&TMainForm::DeleteButton, "DeleteButton", "delete", "Delete Selected Images"},
        {&TMainForm::RenameButton, "RenameButton", "rename", "Rename Selected Files"},
        {&TMainForm::SearchButton, "SearchButton", "search", "Search For Files"},
        {&TMainForm::PrintButton, "PrintButton", "print", "Print Thumbnails"},
        {&TMainForm::PrintSetUpButton, "PrintSetUpButton", "printsetup", "Printer Set Up"},
        {&TMainForm::ViewButton, "ViewButton", "view", "View Current Image"},
        {&TMainForm::ClipBoardButton, "ClipBoardButton", "clipboard", "Copy Image To Clipboard"},
        {&TMainForm::ThumbSizeButton, "ThumbSizeButton", "thumbsize", "Adjust Thumbnail Size"},
        {&TMainForm::HelpButton, "HelpButton", "help", "Help!"},
        {&TMainForm::StopButton, "StopButton", "stop", "Stop Process"},
        {&TMainForm::ExitButton, "ExitButton", "exit", "Exit Pelorin"},
    };
    int x = 8;
    for (const Spec &b : buttons) {
        this->*b.member = makeIconButton(Panel2, b.name, b.icon, QString::fromLatin1(b.hint), QRect(x, 3, 40, 40));
        x += 41;
    }
    StopButton->setEnabled(false);
}

void TMainForm::buildTypeBar()
{
    struct Spec
    {
        QToolButton *TMainForm::*member;
        const char *name;
        const char *caption;
        const char *hint;
    };
    static const Spec types[] = {
        {&TMainForm::BmpButton, "BmpButton", "BMP", "Show Bmp Files"},
        {&TMainForm::DibButton, "DibButton", "DIB", "Show Dib Files"},
        {&TMainForm::EmfButton, "EmfButton", "EMF", "Show Emf Files"},
        {&TMainForm::GifButton, "GifButton", "GIF", "Show Gif Files"},
        {&TMainForm::IconButton, "IconButton", "ICON", "Show Icon Files"},
        {&TMainForm::JpegButton, "JpegButton", "JPEG", "Show Jpeg Files"},
        {&TMainForm::PcxButton, "PcxButton", "PCX", "Show Pcx Files"},
        {&TMainForm::PngButton, "PngButton", "PNG", "Show Png Files"},
        {&TMainForm::TiffButton, "TiffButton", "TIFF", "Show Tiff Files"},
        {&TMainForm::WmfButton, "WmfButton", "WMF", "Show Wmf Files"},
        {&TMainForm::AllButton, "AllButton", "ALL", "Show All Files"},
    };
    TypeButtons = new QButtonGroup(this);
    TypeButtons->setObjectName(QStringLiteral("TypeButtons"));
    int x = 8;
    for (const Spec &t : types) {
        QToolButton *button = makeButton(Panel1, t.name, QString::fromLatin1(t.hint), QRect(x, 4, 32, 24));
        button->setText(QString::fromLatin1(t.caption));
        button->setAccessibleName(button->text());
        button->setCheckable(true);
        TypeButtons->addButton(button);
        this->*t.member = button;
        x += 33;
    }
    BmpButton->setChecked(true);

    StyleButtons = new QButtonGroup(this);
    StyleButtons->setObjectName(QStringLiteral("StyleButtons"));
    ListButton = makeIconButton(Panel1, "ListButton", "liststyle", QStringLiteral("List View Style"), QRect(x, 4, 32, 24));
    IcoButton = makeIconButton(Panel1, "IcoButton", "iconstyle", QStringLiteral("Icon Style View"), QRect(x + 33, 4, 32, 24));
    for (QToolButton *button : {ListButton, IcoButton}) {
        button->setCheckable(true);
        StyleButtons->addButton(button);
    }
    IcoButton->setChecked(true);
}

void TMainForm::buildStatusBar()
{
    StatusBar1 = new PanelStatusBar(QStringLiteral("StatusBar1"), {210, 250, 104, 50});
    StatusBar1->setFixedHeight(19);
    StatusBar1->setProperty("helpContext", 6);
    StatusBar1->setAccessibleName(QStringLiteral("Status Bar"));
    attachPopup(StatusBar1, PopupMenu6);

    ProgressBar1 = new QProgressBar(StatusBar1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(464, 4, 98, 13);
    ProgressBar1->setAccessibleName(QStringLiteral("Progress Gauge"));
    setHint(ProgressBar1, QStringLiteral("Progress Gauge"));
    attachPopup(ProgressBar1, PopupMenu6);
}

void TMainForm::buildPanels()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel2 = makePanel(QStringLiteral("Panel2"), central);
    Panel2->setFixedHeight(50);
    Panel2->setProperty("helpContext", 4);
    Panel2->setAccessibleName(QStringLiteral("Controls"));
    setHint(Panel2, QStringLiteral("Controls"));
    attachPopup(Panel2, PopupMenu4);
    buildCommandBar();

    Panel1 = makePanel(QStringLiteral("Panel1"), central);
    Panel1->setFixedHeight(36);
    Panel1->setProperty("helpContext", 5);
    Panel1->setAccessibleName(QStringLiteral("Controls"));
    setHint(Panel1, QStringLiteral("Controls"));
    attachPopup(Panel1, PopupMenu5);
    buildTypeBar();

    HeaderControl1 = new QHeaderView(Qt::Horizontal, central);
    HeaderControl1->setObjectName(QStringLiteral("HeaderControl1"));
    auto *sections = new QStandardItemModel(0, 2, HeaderControl1);
    sections->setHorizontalHeaderLabels({QStringLiteral("Directory"), QStringLiteral("Files")});
    HeaderControl1->setModel(sections);
    HeaderControl1->setStretchLastSection(false);
    HeaderControl1->setMinimumSectionSize(0);
    HeaderControl1->setSectionsClickable(true);
    HeaderControl1->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    HeaderControl1->resizeSection(0, 211);
    HeaderControl1->resizeSection(1, 1000);
    HeaderControl1->setFixedHeight(17);
    HeaderControl1->setAccessibleName(QStringLiteral("Adjust Screen Ratio"));
    setHint(HeaderControl1, QStringLiteral("Adjust Screen Ratio"));
    attachPopup(HeaderControl1, PopupMenu7);

    LeftPanel = makePanel(QStringLiteral("LeftPanel"), central);
    DirTree1 = new DirTree(LeftPanel);
    DirTree1->setObjectName(QStringLiteral("DirTree1"));
    DirTree1->setAccessibleName(QStringLiteral("Directory List"));
    setHint(DirTree1, QStringLiteral("Directory List"));
    attachPopup(DirTree1, PopupMenu2);
    auto *leftFill = new QVBoxLayout(LeftPanel);
    leftFill->setContentsMargins(1, 1, 1, 1);
    leftFill->addWidget(DirTree1);

    CenterPanel = new QFrame(central);
    CenterPanel->setObjectName(QStringLiteral("CenterPanel"));
    CenterPanel->setCursor(Qt::SplitHCursor);
    CenterPanel->setAccessibleName(QStringLiteral("Adjust Screen Ratio"));
    setHint(CenterPanel, QStringLiteral("Adjust Screen Ratio"));
    CenterPanel->installEventFilter(this);

    RightPanel = makePanel(QStringLiteral("RightPanel"), central);
    ListView1 = new ImageListView(RightPanel);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("Image List Display"));
    for (QAbstractItemView *view : ListView1->findChildren<QAbstractItemView *>())
        view->setAccessibleName(QStringLiteral("Image List Display"));
    setHint(ListView1, QStringLiteral("Image List Display"));
    attachPopup(ListView1, PopupMenu1);
    auto *rightFill = new QVBoxLayout(RightPanel);
    rightFill->setContentsMargins(1, 1, 1, 1);
    rightFill->addWidget(ListView1);

    mPanelRow = new PanelRow(LeftPanel, CenterPanel, RightPanel, central);
    mPanelRow->setObjectName(QStringLiteral("PanelRow"));
    mPanelRow->setLeftWidth(210);

    buildStatusBar();
    StatusBar1->setParent(central);

    column->addWidget(Panel2);
    column->addWidget(Panel1);
    column->addWidget(HeaderControl1);
    column->addWidget(mPanelRow, 1);
    column->addWidget(StatusBar1);
    setCentralWidget(central);

    // The divider's drag line: black, one pixel wide, hidden except while dragging.
    SplitLine = new QFrame(mPanelRow);
    SplitLine->setObjectName(QStringLiteral("SplitLine"));
    SplitLine->setAutoFillBackground(true);
    QPalette black = SplitLine->palette();
    black.setColor(QPalette::Window, Qt::black);
    SplitLine->setPalette(black);
    SplitLine->setCursor(Qt::SplitHCursor);
    SplitLine->hide();
    mSplitting = false;
}

} // namespace pelorin
