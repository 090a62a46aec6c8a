// The main window's thumbnail commands: the image lists, the thumbnail of each listed
// file, the thumbnail size command and the Size and Date columns of report style.

#include "browse/imageform.h"
#include "browse/imagelistview.h"
#include "browse/listpresentation.h"
#include "browse/thumbnailmaker.h"
#include "browse/thumbnailtile.h"
#include "browse/thumbsizeform.h"
#include "imaging/imageholders.h"
#include "platform/dialogs.h"
#include "platform/workdir.h"
#include "shell/appstate.h"
#include "shell/mainform.h"

#include <QAction>

namespace pelorin {

namespace {

constexpr QSize kReportTile(50, 50);
constexpr QRgb kMaskColour = 0xffffffff;

// The window's thumbnail maker, owned by the window so that its workers are cancelled
// and waited for when the window goes.
class ThumbnailWork : public QObject
{
public:
    explicit ThumbnailWork(QObject *parent)
        : QObject(parent), maker(imageHolders().workComponent, imageHolders().workPicture)
    {
        setObjectName(QStringLiteral("ThumbnailWork"));
    }
    ThumbnailMaker maker;
};

ThumbnailMaker &thumbnailMaker(TMainForm *window)
{
    auto *work = static_cast<ThumbnailWork *>(
        window->findChild<QObject *>(QStringLiteral("ThumbnailWork"), Qt::FindDirectChildrenOnly));
    if (!work)
        work = new ThumbnailWork(window);
    return work->maker;
}

QSize tileSize(const ImageListView &list)
{
    if (list.viewStyle() == ImageListView::Style::Report)
        return kReportTile;
    return {appState().ThumbWidth, appState().ThumbHeight};
}

} // namespace

void TMainForm::ImageSet(int index)
{
    const bool report = ListView1->viewStyle() == ImageListView::Style::Report;
    ImageList &images = report ? ListView1->smallImages() : ListView1->largeImages();
    const QSize size = tileSize(*ListView1);
    // Exactly one image per name, whatever happens, so image index and name stay paired.
    QImage tile;
    try {
        const QString name = appState().FileNames.value().at(index);
        tile = thumbnailMaker(this).make(index, name, size);
    } catch (...) {
        tile = errorTile(size);
    }
    images.addMasked(tile, kMaskColour);
}

void TMainForm::SetImageSize()
{
    ListView1->largeImages().setSize(appState().ThumbWidth, appState().ThumbHeight);
    ListView1->smallImages().setSize(kReportTile.width(), kReportTile.height());
}

void TMainForm::ThumbSize1Click()
{
    setStatusText(1, QStringLiteral("Adjust Thumb Size"));
    std::unique_ptr<TThumbSizeForm> ownForm;
    TThumbSizeForm *form = ThumbSizeForm;
    if (!form) {
        ownForm = std::make_unique<TThumbSizeForm>(this);
        form = ownForm.get();
    }
    if (dialogs().exec(*form) != QDialog::Accepted)
        return;
    const AppState &state = appState();
    ListView1->largeImages().setSize(state.ThumbWidth, state.ThumbHeight);
    imageHolders().workComponent.setSize(QSize(state.ThumbWidth, state.ThumbHeight));
    UpdateListbox();
}

void TMainForm::SetListView()
{
    const QString directory = includeBackslash(workingDirectory());
    for (int row = 0; row < ListView1->count(); ++row) {
        const ListColumns columns = listColumns(directory + ListView1->caption(row));
        ListView1->setSubItems(row, columns.size, columns.date);
    }
}

void TMainForm::beginThumbnails()
{
    const AppState &state = appState();
    if (NoThumbs1->isChecked() || !state.FileNames || state.FileNames->isEmpty())
        return;
    thumbnailMaker(this).begin(*state.FileNames, workingDirectory(), tileSize(*ListView1));
}

void TMainForm::endThumbnails()
{
    thumbnailMaker(this).end();
}

} // namespace pelorin
