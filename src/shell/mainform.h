#pragma once
// TMainForm: the main window. Its components are public members named as the window's
// components (ListView1, StatusBar1, Copy1...), each also carrying that name as its Qt
// object name, so the other windows, tests and acceptance checks find them. Handlers
// carry the names of the events they serve.
//
// Status line: StatusBar1 holds four QLabel panels named "StatusBar1Panel0".."3";
// statusText(i) and setStatusText(i, text) read and write them, and so can anyone with
// findChild<QLabel *>("StatusBar1Panel1")->text(). Panel 0 shows " " + CurrentDir, panel 1
// the hint line ("  " + hint) and the commands' messages.
//
// Help contexts are stored as the dynamic int property "helpContext" on the action or
// widget that carries one.

#include <QMainWindow>
#include <QPointer>

class QAction;
class QActionGroup;
class QButtonGroup;
class QFrame;
class QHeaderView;
class QLabel;
class QMenu;
class QProgressBar;
class QToolButton;
class QWindow;

namespace pelorin {

class DirTree;
class ImageListView;
class PanelRow;
class PanelStatusBar;
class SettingsStore;
struct SizeLimit;

class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // The size limit read from the settings at creation; the Maximum Size dialog starts from it.
    bool initialMaxSizeLimit() const { return mInitialMaxSizeLimit; }
    int initialMaxSize() const { return mInitialMaxSize; }

    // The status panels 0..3 of StatusBar1.
    QString statusText(int panel) const;
    void setStatusText(int panel, const QString &text);

    // ---- Start-up, activation and closing ----
    void FormCreate();
    void FormActivate();
    // Writes the settings; returns false (the window stays open) when a write failed.
    bool FormClose();

    // ---- Hints, busy state, Stop ----
    void ShowHint(const QString &hint);
    void DisableWindow();
    void EnableWindow();
    void StopButtonClick();

    // ---- Options, Exit, small dialogs ----
    void NoStop1Click();
    void ShowHints1Click();
    void NoThumbs1Click();
    void RecycleFiles1Click();
    void MaximumSize1Click();
    void About1Click();
    void Exit1Click();

    // ---- Help ----
    void Help2Click();
    void SearchHelpClick();
    void UsingHelp1Click();
    void WhatsThis1Click();
    void WhatsThis2Click();
    void WhatsThis4Click();
    void WhatsThis5Click();
    void WhatsThis6Click();
    void WhatsThis7Click();

    // ---- Divider and header strip (x is relative to CenterPanel) ----
    void CenterPanelMouseDown(Qt::MouseButton button);
    void CenterPanelMouseMove(int x);
    void CenterPanelMouseUp();
    void HeaderControl1SectionResize();
    bool isSplitting() const { return mSplitting; }

    // ---- Listing and type filter ----
    void UpdateListbox();
    void BMP1Click();
    void DibButtonClick();
    void EmfButtonClick();
    void Gif1Click();
    void Icon1Click();
    void Jpeg1Click();
    void Pcx1Click();
    void Png1Click();
    void Tiff1Click();
    void Wmf1Click();
    void AllButtonClick();
    void DirTree1DirChange(const QString &newDirectory);
    void Refresh1Click();
    // Drops selected-or-not items whose files vanished; only when something is selected.
    void PruneVanishedFiles();

    // ---- List presentation ----
    void ListButtonClick();
    void List1Click();
    void Sorted1Click();
    void SelectAll1Click();

    // ---- Thumbnails (src/browse/mainform_thumbs.cpp) ----
    void ImageSet(int index);
    void SetImageSize();
    void ThumbSize1Click();
    void SetListView();
    // Called by UpdateListbox after the names are collected, before the item loop, and
    // at its end on every path.
    void beginThumbnails();
    void endThumbnails();

    // ---- Components ----
    QFrame *Panel2 = nullptr;
    QFrame *Panel1 = nullptr;
    QHeaderView *HeaderControl1 = nullptr;
    QFrame *LeftPanel = nullptr;
    DirTree *DirTree1 = nullptr;
    QFrame *CenterPanel = nullptr;
    QFrame *RightPanel = nullptr;
    ImageListView *ListView1 = nullptr;
    PanelStatusBar *StatusBar1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QFrame *SplitLine = nullptr;

    QToolButton *MoveButton = nullptr, *CopyButton = nullptr, *DeleteButton = nullptr, *RenameButton = nullptr,
                *SearchButton = nullptr, *PrintButton = nullptr, *PrintSetUpButton = nullptr, *ViewButton = nullptr,
                *ClipBoardButton = nullptr, *ThumbSizeButton = nullptr, *HelpButton = nullptr, *StopButton = nullptr,
                *ExitButton = nullptr;
    QToolButton *BmpButton = nullptr, *DibButton = nullptr, *EmfButton = nullptr, *GifButton = nullptr,
                *IconButton = nullptr, *JpegButton = nullptr, *PcxButton = nullptr, *PngButton = nullptr,
                *TiffButton = nullptr, *WmfButton = nullptr, *AllButton = nullptr;
    QToolButton *ListButton = nullptr, *IcoButton = nullptr;
    QButtonGroup *TypeButtons = nullptr;
    QButtonGroup *StyleButtons = nullptr;

    // Top-level menus, in menu-bar order.
    QMenu *FileMenu = nullptr, *ImageTypeMenu = nullptr, *ImageMenu = nullptr, *OptionsMenu = nullptr,
          *ViewMenu = nullptr, *FileListMenu = nullptr, *WindowMenu = nullptr, *HelpMenu = nullptr;
    QAction *Move1 = nullptr, *Copy1 = nullptr, *Rename1 = nullptr, *Delete1 = nullptr, *SelectAll1 = nullptr,
            *Properties2 = nullptr, *SearchMenuItem = nullptr, *CreateDirectory1 = nullptr, *PrintThumb = nullptr,
            *PrintsetUp1 = nullptr, *Exit1 = nullptr;
    QAction *BMP1 = nullptr, *DIB1 = nullptr, *Emf1 = nullptr, *Gif1 = nullptr, *Icon1 = nullptr, *Jpeg1 = nullptr,
            *Pcx1 = nullptr, *Png1 = nullptr, *Tiff1 = nullptr, *Wmf1 = nullptr, *All1 = nullptr;
    QActionGroup *ImageTypeGroup = nullptr;
    QAction *Convert1 = nullptr, *Print2 = nullptr, *ThumbSize1 = nullptr, *ToClipboard1 = nullptr, *View1 = nullptr,
            *Acquire1 = nullptr, *SelectTwain1 = nullptr, *ScreenCapture1 = nullptr, *WindowCapture1 = nullptr,
            *ClientCapture1 = nullptr;
    QAction *NoStop1 = nullptr, *MaximumSize1 = nullptr, *NoThumbs1 = nullptr, *ShowHints1 = nullptr,
            *RecycleFiles1 = nullptr;
    QAction *List1 = nullptr, *Refresh1 = nullptr, *Sorted1 = nullptr, *Fonts1 = nullptr;
    QAction *View4 = nullptr, *ClearFileList1 = nullptr, *AddFile1 = nullptr;
    QAction *SearchWindow1 = nullptr, *FileListWindow = nullptr;
    QAction *About1 = nullptr, *Help2 = nullptr, *SearchHelp = nullptr, *UsingHelp1 = nullptr;

    QMenu *PopupMenu1 = nullptr, *PopupMenu2 = nullptr, *PopupMenu4 = nullptr, *PopupMenu5 = nullptr,
          *PopupMenu6 = nullptr, *PopupMenu7 = nullptr;
    QAction *Move2 = nullptr, *Copy2 = nullptr, *Rename2 = nullptr, *Delete2 = nullptr, *Properties1 = nullptr,
            *Convert2 = nullptr, *LaunchApp1 = nullptr, *ToClipboard2 = nullptr, *View2 = nullptr,
            *AddToFileList1 = nullptr, *Explore1 = nullptr, *WhatsThis2 = nullptr, *Exit2 = nullptr;
    QAction *CreateDirectory2 = nullptr, *Delete3 = nullptr, *Explore2 = nullptr, *WhatsThis1 = nullptr,
            *Exit5 = nullptr;
    QAction *WhatsThis4 = nullptr, *Exit7 = nullptr, *WhatsThis5 = nullptr, *Exit3 = nullptr, *WhatsThis6 = nullptr,
            *Exit4 = nullptr, *WhatsThis7 = nullptr, *Exit8 = nullptr;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Construction, split by feature (mainform_layout.cpp, mainform_menus.cpp, ...).
    void buildCommandBar();
    void buildTypeBar();
    void buildPanels();
    void buildStatusBar();
    void buildMainMenu();
    void buildPopupMenus();
    void connectHandlers();
    void connectOptionToggle(QAction *action, void (TMainForm::*handler)());
    void attachPopup(QWidget *widget, QMenu *menu);

    // The Image Type choice: checks the item, presses the button, sets ExtFilter, lists.
    void chooseType(QAction *item, QToolButton *button, const QString &filter);
    void setThumbSizeCommandEnabled(bool enabled);
    // One listing; UpdateListbox runs it and serves requests made while it runs.
    void listOnce();
    void placeProgressBar();
    void setTreeWidth(int width);

    // Activation: the main window counts as activated on its first show and when the user
    // comes back to it from another non-modal window of the program.
    void focusWindowChanged(QWindow *now);
    bool cameFromNonModalWindowOfOurs() const;

    // The size limit in force: the Maximum Size dialog's controls, or the settings' values
    // while that dialog does not exist.
    SizeLimit currentSizeLimit() const;
    // Shows the tip of the day and takes over its "show at start up" choice.
    void showTipOfTheDay();

    // Reads the settings and applies them; throws on a value the store cannot read.
    void readSettings(SettingsStore &store);
    void writeSettings(SettingsStore &store);

    bool mInitialMaxSizeLimit = false;
    int mInitialMaxSize = 100;
    bool mSplitting = false;
    bool mActivatedOnce = false;
    bool mInActivation = false;
    bool mListing = false;
    bool mListAgain = false;
    QPointer<QWindow> mPreviousFocus;
    PanelRow *mPanelRow = nullptr;
};

extern TMainForm *MainForm;

} // namespace pelorin
