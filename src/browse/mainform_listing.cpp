// The main window's listing: the type filter, the directory change, Refresh, the listing
// itself and the pruning of vanished files when the window is activated again.

#include "browse/imagelistview.h"
#include "browse/listing.h"
#include "platform/workdir.h"
#include "shell/appstate.h"
#include "shell/dirtree.h"
#include "shell/mainform.h"
#include "shell/panelstatusbar.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QProgressBar>
#include <QScopeGuard>
#include <QToolButton>

namespace pelorin {

void TMainForm::UpdateListbox()
{
    // Messages run inside a listing; a request that arrives meanwhile (before the busy
    // state is entered, or with nothing found) is served once the running one is done,
    // never inside it, which would pull FileNames away from under the running loop.
    if (mListing) {
        mListAgain = true;
        return;
    }
    mListing = true;
    const auto done = qScopeGuard([this] { mListing = false; });
    do {
        mListAgain = false;
        listOnce();
    } while (mListAgain);
}

void TMainForm::listOnce()
{
    AppState &state = appState();
    const auto finish = [this, &state] {
        endThumbnails();
        state.FileNames.reset();
        if (ListView1->viewStyle() == ImageListView::Style::Report)
            SetListView();
        ProgressBar1->setValue(0);
        EnableWindow();
        setStatusText(1, ListView1->count() == 0 ? QStringLiteral("No Matching Files Found") : QStringLiteral("Finished"));
        letMessagesRun();
    };
    try {
        setWorkingDirectory(state.CurrentDir);
        if (state.ExtFilter.isEmpty())
            state.ExtFilter = QStringLiteral("bmp");
        setStatusText(1, QStringLiteral("Searching For Files"));
        letMessagesRun();
        repaint();

        QStringList &names = state.FileNames.emplace();
        ListView1->smallImages().clear();
        ListView1->largeImages().clear();
        ListView1->clearItems();
        const SizeLimit limit = currentSizeLimit();
        for (const QString &extension : listingExtensions(state.ExtFilter))
            CollectFiles(state.CurrentDir, extension, limit, names);
        beginThumbnails();

        int messageCounter = 0;
        if (!names.isEmpty())
            DisableWindow();
        setStatusText(1, QStringLiteral("Creating Thumbnails"));
        letMessagesRun();

        // The gauge and the status bar are repainted after every item, but only when
        // what they show has changed: repainting an unchanged picture shows nothing new
        // and would cost most of the listing's time.
        int paintedProgress = -1;
        QString paintedStatus;
        int i = 0;
        while (i < names.size()) {
            const int count = int(names.size());
            if (!NoThumbs1->isChecked())
                ImageSet(i);
            ListView1->addItem(names.at(i), i);
            if (i > 0)
                ProgressBar1->setValue(progressPercent(i, count));
            if (ProgressBar1->value() != paintedProgress) {
                paintedProgress = ProgressBar1->value();
                ProgressBar1->repaint();
            }
            ++i;
            if (!NoStop1->isChecked()) {
                if (++messageCounter == 20) {
                    messageCounter = 0;
                    letMessagesRun();
                }
                if (state.StopFlag) {
                    state.StopFlag = false;
                    i = count + 1;
                    setStatusText(1, QStringLiteral("Process Halted"));
                }
            }
            if (statusText(1) != paintedStatus) {
                paintedStatus = statusText(1);
                StatusBar1->repaint();
            }
        }
        ListView1->setImagesChanged();

        HeaderControl1->model()->setHeaderData(1, Qt::Horizontal, fileCountText(int(names.size())));
        state.FileCount = int(names.size());
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TMainForm::chooseType(QAction *item, QToolButton *button, const QString &filter)
{
    item->setChecked(true);
    button->setChecked(true);
    appState().ExtFilter = filter;
    letMessagesRun();
    UpdateListbox();
}

void TMainForm::BMP1Click()
{
    chooseType(BMP1, BmpButton, QStringLiteral("bmp"));
}

void TMainForm::DibButtonClick()
{
    chooseType(DIB1, DibButton, QStringLiteral("dib"));
}

void TMainForm::EmfButtonClick()
{
    chooseType(Emf1, EmfButton, QStringLiteral("emf"));
}

void TMainForm::Gif1Click()
{
    chooseType(Gif1, GifButton, QStringLiteral("gif"));
}

void TMainForm::Icon1Click()
{
    chooseType(Icon1, IconButton, QStringLiteral("ico"));
}

void TMainForm::Jpeg1Click()
{
    chooseType(Jpeg1, JpegButton, QStringLiteral("jpg"));
}

void TMainForm::Pcx1Click()
{
    chooseType(Pcx1, PcxButton, QStringLiteral("pcx"));
}

void TMainForm::Png1Click()
{
    chooseType(Png1, PngButton, QStringLiteral("png"));
}

void TMainForm::Tiff1Click()
{
    chooseType(Tiff1, TiffButton, QStringLiteral("tif"));
}

void TMainForm::Wmf1Click()
{
    chooseType(Wmf1, WmfButton, QStringLiteral("wmf"));
}

void TMainForm::AllButtonClick()
{
    chooseType(All1, AllButton, QStringLiteral("all"));
}

void TMainForm::DirTree1DirChange(const QString &newDirectory)
{
    AppState &state = appState();
    if (newDirectory == state.CurrentDir)
        return;
    state.CurrentDir = newDirectory;
    setStatusText(0, QStringLiteral(" ") + state.CurrentDir);
    UpdateListbox();
}

void TMainForm::Refresh1Click()
{
    repaint();
    DirTree1->repaint();
    UpdateListbox();
}

void TMainForm::PruneVanishedFiles()
{
    if (ListView1->selectedRows().isEmpty())
        return;
    setWorkingDirectory(appState().CurrentDir);
    int row = 0;
    while (row < ListView1->count()) {
        const QFileInfo file(ListView1->caption(row));
        if (file.exists() && !file.isDir()) {
            ++row;
            continue;
        }
        // The next item moves into this place and is looked at next.
        ListView1->removeItem(row);
        ListView1->repaint();
    }
}

} // namespace pelorin
