// The main menu and the popup menus: captions, shortcuts, hints and help contexts.

#include "shell/mainform.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace pelorin {

namespace {

constexpr int kNoHelp = 0;

QMenu *makeMenu(QWidget *parent, const char *name, const QString &caption, const QString &hint, int helpContext)
{
    auto *menu = new QMenu(caption, parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->setToolTipsVisible(false);
    menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Item"));
    menu->menuAction()->setStatusTip(hint);
    menu->setStatusTip(hint);
    if (helpContext != kNoHelp) {
        menu->setProperty("helpContext", helpContext);
        menu->menuAction()->setProperty("helpContext", helpContext);
    }
    return menu;
}

QAction *makeItem(QMenu *menu, const char *name, const QString &caption, const QString &hint, int helpContext = kNoHelp,
                  const QKeySequence &shortcut = {})
{
    auto *action = new QAction(caption, menu);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    if (helpContext != kNoHelp)
        action->setProperty("helpContext", helpContext);
    menu->addAction(action);
    return action;
}

QAction *makeCheck(QMenu *menu, const char *name, const QString &caption, const QString &hint, int helpContext, bool checked)
{
    QAction *action = makeItem(menu, name, caption, hint, helpContext);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

QString s(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

void TMainForm::buildMainMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    FileMenu = makeMenu(this, "FileMenu", s("&File"), s("File Options"), 21);
    Move1 = makeItem(FileMenu, "Move1", s("&Move"), s("Move Selected Files"), 9, QKeySequence(Qt::CTRL | Qt::Key_M));
    Copy1 = makeItem(FileMenu, "Copy1", s("&Copy"), s("Copy Selected Files"), 16, QKeySequence(Qt::CTRL | Qt::Key_C));
    Rename1 = makeItem(FileMenu, "Rename1", s("&Rename"), s("Rename Selected Files"), 8, QKeySequence(Qt::CTRL | Qt::Key_R));
    Delete1 = makeItem(FileMenu, "Delete1", s("&Delete"), s("Delete Selected Files"), 17, QKeySequence(Qt::Key_Delete));
    SelectAll1 = makeItem(FileMenu, "SelectAll1", s("&Select All"), s("Select All Image Files"), 18,
                          QKeySequence(Qt::CTRL | Qt::Key_S));
    Properties2 = makeItem(FileMenu, "Properties2", s("Pr&operties"), s("File Properties"), 7, QKeySequence(Qt::CTRL | Qt::Key_O));
    SearchMenuItem = makeItem(FileMenu, "SearchMenuItem", s("S&earch"), s("Search For Files"), kNoHelp,
                              QKeySequence(Qt::CTRL | Qt::Key_E));
    CreateDirectory1 = makeItem(FileMenu, "CreateDirectory1", s("Cre&ate Directory"), s("Create New Directory"));
    FileMenu->addSeparator();
    PrintThumb = makeItem(FileMenu, "PrintThumb", s("&Print  Thumb"), s("Print Thumb Nails "), 10, QKeySequence(Qt::CTRL | Qt::Key_P));
    PrintsetUp1 = makeItem(FileMenu, "PrintsetUp1", s("Pr&int Set Up"), s("Printer Set Up"), 19);
    FileMenu->addSeparator();
    Exit1 = makeItem(FileMenu, "Exit1", s("E&xit"), s("Exit"), 20);

    ImageTypeMenu = makeMenu(this, "ImageTypeMenu", s("&Image Type"), s("Image Type"), 5);
    ImageTypeGroup = new QActionGroup(this);
    ImageTypeGroup->setObjectName(QStringLiteral("ImageTypeGroup"));
    ImageTypeGroup->setExclusive(true);
    struct TypeItem
    {
        QAction *TMainForm::*member;
        const char *name;
        const char *caption;
        const char *hint;
        int help;
    };
    static const TypeItem types[] = {
        {&TMainForm::BMP1, "BMP1", "&Bmp", "Show Bmp Images", 5},     {&TMainForm::DIB1, "DIB1", "&Dib", "Show Dib Images", kNoHelp},
        {&TMainForm::Emf1, "Emf1", "&Emf", "Show Emf Images", kNoHelp}, {&TMainForm::Gif1, "Gif1", "&Gif", "Show Gif Images", 5},
        {&TMainForm::Icon1, "Icon1", "I&con", "Show Icon Images", 5},  {&TMainForm::Jpeg1, "Jpeg1", "&Jpeg", "Show Jpeg Images", 5},
        {&TMainForm::Pcx1, "Pcx1", "&Pcx", "Show Pcx Images", 5},      {&TMainForm::Png1, "Png1", "P&ng", "Show Png Images", 5},
        {&TMainForm::Tiff1, "Tiff1", "&Tiff", "Show Tiff Images", 5},  {&TMainForm::Wmf1, "Wmf1", "&Wmf", "Show Wmf Images", 5},
        {&TMainForm::All1, "All1", "&All", "Show All Images", 5},
    };
    for (const TypeItem &t : types) {
        QAction *item = makeCheck(ImageTypeMenu, t.name, s(t.caption), s(t.hint), t.help, false);
        ImageTypeGroup->addAction(item);
        this->*t.member = item;
    }
    BMP1->setChecked(true);

    ImageMenu = makeMenu(this, "ImageMenu", s("I&mage"), s("Image Options"), 22);
    Convert1 = makeItem(ImageMenu, "Convert1", s("&Convert"), s("Convert Images To Different Type"), 6,
                        QKeySequence(Qt::CTRL | Qt::Key_N));
    Print2 = makeItem(ImageMenu, "Print2", s("&Print"), s("Print Image"), 23);
    ThumbSize1 = makeItem(ImageMenu, "ThumbSize1", s("&Thumb Size"), s("Thumb Image Size"), 14);
    ToClipboard1 = makeItem(ImageMenu, "ToClipboard1", s("T&o Clipboard"), s("Copy Image To Clipboard"), 24,
                            QKeySequence(Qt::CTRL | Qt::Key_T));
    View1 = makeItem(ImageMenu, "View1", s("&View"), s("View Image At Full Size"), 25, QKeySequence(Qt::CTRL | Qt::Key_V));
    ImageMenu->addSeparator();
    Acquire1 = makeItem(ImageMenu, "Acquire1", s("&Acquire"), s("Twain 32 Image Scan"), 11);
    SelectTwain1 = makeItem(ImageMenu, "SelectTwain1", s("S&elect Twain"), s("Select Twain 32 Scanner"), 26);
    ImageMenu->addSeparator();
    ScreenCapture1 = makeItem(ImageMenu, "ScreenCapture1", s("Sc&reen Capture"), s("Capture Full Screen"), 27);
    WindowCapture1 = makeItem(ImageMenu, "WindowCapture1", s("&Window Capture"), s("Capture Active Window"), 27);
    ClientCapture1 = makeItem(ImageMenu, "ClientCapture1", s("C&lient Capture"), s("Capture Window Client Area"));

    OptionsMenu = makeMenu(this, "OptionsMenu", s("&Options"), s("General Options"), kNoHelp);
    NoStop1 = makeCheck(OptionsMenu, "NoStop1", s("&No Stop"), s("Disable Stop Button To Increase Speed"), 31, false);
    MaximumSize1 = makeCheck(OptionsMenu, "MaximumSize1", s("&Maximum Size"), s("Set Maximum Image Size"), kNoHelp, false);
    NoThumbs1 = makeCheck(OptionsMenu, "NoThumbs1", s("No &Thumbs"), s("Do Not Create Thumbnail Images"), kNoHelp, false);
    ShowHints1 = makeCheck(OptionsMenu, "ShowHints1", s("Show T&ips"), s("Show Hints At Start Up"), kNoHelp, true);
    RecycleFiles1 = makeCheck(OptionsMenu, "RecycleFiles1", s("&Recycle Files"), s("Send Files Tor Recycle Bin"), kNoHelp, false);

    ViewMenu = makeMenu(this, "ViewMenu", s("&View"), s("Window Appearance"), 28);
    List1 = makeCheck(ViewMenu, "List1", s("&List"), s("List View"), 29, false);
    Refresh1 = makeItem(ViewMenu, "Refresh1", s("&Refresh"), s("Update Display"), 28);
    Sorted1 = makeCheck(ViewMenu, "Sorted1", s("&Sorted"), s("Display Alphabetically"), 30, true);
    ViewMenu->addSeparator();
    Fonts1 = makeItem(ViewMenu, "Fonts1", s("&Fonts"), s("Display Fonts"), 12);

    FileListMenu = makeMenu(this, "FileListMenu", s("File &List"), s("File List Options"), kNoHelp);
    View4 = makeItem(FileListMenu, "View4", s("&View"), s("Show File List"));
    ClearFileList1 = makeItem(FileListMenu, "ClearFileList1", s("&Clear File List"), s("Clear"));
    FileListMenu->addSeparator();
    AddFile1 = makeItem(FileListMenu, "AddFile1", s("&Add File"), s("Add Selected Files To File List"));

    WindowMenu = makeMenu(this, "WindowMenu", s("&Window"), s("Window Options"), kNoHelp);
    SearchWindow1 = makeItem(WindowMenu, "SearchWindow1", s("&Search Window"), s("Show Search Window"));
    FileListWindow = makeItem(WindowMenu, "FileListWindow", s("&File List Window"), s("Show File List Window"));

    HelpMenu = makeMenu(this, "HelpMenu", s("&Help"), s("Help!"), 32);
    About1 = makeItem(HelpMenu, "About1", s("&About"), s("About Pelorin"), 32);
    Help2 = makeItem(HelpMenu, "Help2", s("H&elp"), s("Pelorin Help"), 32);
    SearchHelp = makeItem(HelpMenu, "SearchHelp", s("&Search Help"), s("Search Pelorin Help"), 32);
    UsingHelp1 = makeItem(HelpMenu, "UsingHelp1", s("&Using Help"), s("Using Help Files"), 32);

    for (QMenu *menu : {FileMenu, ImageTypeMenu, ImageMenu, OptionsMenu, ViewMenu, FileListMenu, WindowMenu, HelpMenu})
        bar->addMenu(menu);
}

void TMainForm::buildPopupMenus()
{
    PopupMenu1 = makeMenu(this, "PopupMenu1", QString(), QString(), kNoHelp);
    Move2 = makeItem(PopupMenu1, "Move2", s("&Move"), s("Move Selected Files"), 21);
    Copy2 = makeItem(PopupMenu1, "Copy2", s("&Copy"), s("Copy Selected Files"), 16);
    Rename2 = makeItem(PopupMenu1, "Rename2", s("&Rename"), s("Rename File"), 8);
    Delete2 = makeItem(PopupMenu1, "Delete2", s("&Delete"), s("Delete Selected Files"), 17);
    Properties1 = makeItem(PopupMenu1, "Properties1", s("&Properties"), s("File Properties"), 7);
    PopupMenu1->addSeparator();
    Convert2 = makeItem(PopupMenu1, "Convert2", s("C&onvert"), s("Convert Images"), 6);
    LaunchApp1 = makeItem(PopupMenu1, "LaunchApp1", s("&Launch App"), s("Launch Associated Application"), 33);
    ToClipboard2 = makeItem(PopupMenu1, "ToClipboard2", s("&To Clipboard"), s("Copy Image To Clipboard"), 24);
    View2 = makeItem(PopupMenu1, "View2", s("&View"), s("View Image Full Size"), 25);
    AddToFileList1 = makeItem(PopupMenu1, "AddToFileList1", s("&Add To File List"), s("Add Selected Files To File List"));
    PopupMenu1->addSeparator();
    Explore1 = makeItem(PopupMenu1, "Explore1", s("&Explore"), s("Explore Directory"), 34);
    PopupMenu1->addSeparator();
    WhatsThis2 = makeItem(PopupMenu1, "WhatsThis2", s("&What's This?"), s("Help On Image List"));
    PopupMenu1->addSeparator();
    Exit2 = makeItem(PopupMenu1, "Exit2", s("E&xit"), s("Exit Pelorin"));

    PopupMenu2 = makeMenu(this, "PopupMenu2", QString(), QString(), kNoHelp);
    CreateDirectory2 = makeItem(PopupMenu2, "CreateDirectory2", s("&Create Directory"), s("Create New Directory"));
    Delete3 = makeItem(PopupMenu2, "Delete3", s("&Delete Directory"), s("Delete Current Directory"));
    Explore2 = makeItem(PopupMenu2, "Explore2", s("&Explore"), s("Explore Current Directory"));
    PopupMenu2->addSeparator();
    WhatsThis1 = makeItem(PopupMenu2, "WhatsThis1", s("&What's This?"), s("Help On Directory List"));
    PopupMenu2->addSeparator();
    Exit5 = makeItem(PopupMenu2, "Exit5", s("E&xit"), s("Exit Pelorin"));

    struct SmallPopup
    {
        QMenu *TMainForm::*menu;
        const char *menuName;
        QAction *TMainForm::*whatsThis;
        const char *whatsThisName;
        const char *hint;
        QAction *TMainForm::*exit;
        const char *exitName;
    };
    static const SmallPopup small[] = {
        {&TMainForm::PopupMenu4, "PopupMenu4", &TMainForm::WhatsThis4, "WhatsThis4", "Help Using Speed Bar", &TMainForm::Exit7, "Exit7"},
        {&TMainForm::PopupMenu5, "PopupMenu5", &TMainForm::WhatsThis5, "WhatsThis5", "Help On Image Type", &TMainForm::Exit3, "Exit3"},
        {&TMainForm::PopupMenu6, "PopupMenu6", &TMainForm::WhatsThis6, "WhatsThis6", "Help On Status Bar", &TMainForm::Exit4, "Exit4"},
        {&TMainForm::PopupMenu7, "PopupMenu7", &TMainForm::WhatsThis7, "WhatsThis7", "Help On Resize Bar", &TMainForm::Exit8, "Exit8"},
    };
    for (const SmallPopup &p : small) {
        QMenu *menu = makeMenu(this, p.menuName, QString(), QString(), kNoHelp);
        this->*p.menu = menu;
        this->*p.whatsThis = makeItem(menu, p.whatsThisName, s("&What's This?"), s(p.hint));
        menu->addSeparator();
        this->*p.exit = makeItem(menu, p.exitName, s("E&xit"), s("Exit Pelorin"));
    }
}

} // namespace pelorin
