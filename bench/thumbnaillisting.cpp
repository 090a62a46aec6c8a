#include "thumbnaillisting.h"

#include "browse/imagelistview.h"
#include "shell/appstate.h"
#include "shell/mainform.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QToolButton>

using namespace pelorin;

QSize benchTileSize()
{
    return {70, 70};
}

BenchListing::BenchListing(const QString &directory) : mDirectory(directory)
{
    // Never read or write the user's own settings, nor those tests leave behind.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(mConfig.path()));
    mForm = std::make_unique<TMainForm>();
    AppState &state = appState();
    state.ThumbWidth = benchTileSize().width();
    state.ThumbHeight = benchTileSize().height();
    mForm->SetImageSize();
    mForm->NoThumbs1->setChecked(false);
    mForm->NoStop1->setChecked(false);
    mForm->IcoButton->setChecked(true);
    mForm->ListView1->setViewStyle(ImageListView::Style::Icon);
    mForm->resize(1024, 768);
    mForm->show();
}

BenchListing::~BenchListing() = default;

double BenchListing::run()
{
    AppState &state = appState();
    state.CurrentDir = mDirectory.endsWith(QLatin1Char('/')) ? mDirectory : mDirectory + QLatin1Char('/');
    state.ExtFilter = QStringLiteral("jpg");
    QElapsedTimer timer;
    timer.start();
    mForm->UpdateListbox();
    return double(timer.nsecsElapsed()) / 1e6;
}

double BenchListing::runWithoutThumbnails()
{
    mForm->NoThumbs1->setChecked(true);
    const double ms = run();
    mForm->NoThumbs1->setChecked(false);
    return ms;
}

int BenchListing::itemCount() const
{
    return mForm->ListView1->count();
}

int BenchListing::imageCount() const
{
    return mForm->ListView1->largeImages().count();
}
