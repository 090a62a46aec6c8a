#include "browse/imagelistview.h"

#include "browse/imagelistmodel.h"

#include <QHeaderView>
#include <QListView>
#include <QStackedLayout>
#include <QTreeView>

namespace pelorin {

void ImageList::setSize(int width, int height)
{
    if (width == mWidth && height == mHeight)
        return;
    mWidth = width;
    mHeight = height;
    mImages.clear();
}

int ImageList::addMasked(const QImage &tile, QRgb maskColour)
{
    QImage image = tile.convertToFormat(QImage::Format_ARGB32);
    if (image.size() != QSize(mWidth, mHeight))
        image = image.scaled(mWidth, mHeight);
    const QRgb mask = maskColour | 0xff000000u;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xff000000u) == mask && qAlpha(line[x]) == 255)
                line[x] = 0;
        }
    }
    mImages.append(QPixmap::fromImage(std::move(image)));
    return count() - 1;
}

struct ImageListView::Private
{
    ImageList large{70, 70};
    ImageList small{50, 50};
    ImageListModel model;
    QListView *icons = nullptr;
    QTreeView *report = nullptr;
    QStackedLayout *stack = nullptr;
    Style style = Style::Icon;
};

ImageListView::ImageListView(QWidget *parent) : QWidget(parent), d(std::make_unique<Private>())
{
    d->stack = new QStackedLayout(this);
    d->stack->setContentsMargins(0, 0, 0, 0);

    d->icons = new QListView(this);
    d->icons->setObjectName(QStringLiteral("ListView1Icons"));
    d->icons->setViewMode(QListView::IconMode);
    d->icons->setMovement(QListView::Static);
    d->icons->setResizeMode(QListView::Adjust);
    d->icons->setWrapping(true);
    d->icons->setUniformItemSizes(true);
    d->icons->setLayoutMode(QListView::Batched);
    d->icons->setBatchSize(500);
    d->icons->setSpacing(4);
    d->icons->setWordWrap(true);
    d->icons->setModel(&d->model);

    d->report = new QTreeView(this);
    d->report->setObjectName(QStringLiteral("ListView1Report"));
    d->report->setRootIsDecorated(false);
    d->report->setItemsExpandable(false);
    d->report->setUniformRowHeights(true);
    d->report->setSortingEnabled(false);
    d->report->setModel(&d->model);
    d->report->setSelectionModel(d->icons->selectionModel());
    d->report->header()->setSectionsClickable(true);
    d->report->header()->setStretchLastSection(false);
    d->report->setColumnWidth(0, 150);
    d->report->setColumnWidth(1, 90);
    d->report->setColumnWidth(2, 120);

    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(d->icons), static_cast<QAbstractItemView *>(d->report)}) {
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
        view->setDragEnabled(true);
        view->setDragDropMode(QAbstractItemView::DragOnly);
        connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &i) { emit itemDoubleClicked(i.row()); });
        d->stack->addWidget(view);
    }
    connect(d->report->header(), &QHeaderView::sectionClicked, this, &ImageListView::columnClicked);
    connect(&d->model, &ImageListModel::captionEdited, this, &ImageListView::captionEdited);

    setFocusProxy(d->icons);
    setViewStyle(Style::Icon);
}

ImageListView::~ImageListView() = default;

ImageListView::Style ImageListView::viewStyle() const
{
    return d->style;
}

void ImageListView::setViewStyle(Style style)
{
    d->style = style;
    const bool icon = style == Style::Icon;
    const ImageList &images = icon ? d->large : d->small;
    d->model.setDecorations(&images);
    QAbstractItemView *view = icon ? static_cast<QAbstractItemView *>(d->icons) : d->report;
    view->setIconSize(QSize(images.width(), images.height()));
    d->stack->setCurrentWidget(view);
    setFocusProxy(view);
}

bool ImageListView::isSorted() const
{
    return d->model.isSorted();
}

void ImageListView::setSorted(bool sorted)
{
    d->model.setSorted(sorted);
}

ImageList &ImageListView::largeImages()
{
    return d->large;
}

ImageList &ImageListView::smallImages()
{
    return d->small;
}

void ImageListView::clearItems()
{
    d->model.clear();
}

void ImageListView::addItem(const QString &caption, int imageIndex)
{
    d->model.add(caption, imageIndex);
}

int ImageListView::count() const
{
    return d->model.count();
}

QString ImageListView::caption(int row) const
{
    return d->model.item(row).caption;
}

int ImageListView::imageIndex(int row) const
{
    return d->model.item(row).imageIndex;
}

void ImageListView::setCaption(int row, const QString &caption)
{
    d->model.setCaption(row, caption);
}

void ImageListView::removeItem(int row)
{
    d->model.remove(row);
}

void ImageListView::setSubItems(int row, const QString &size, const QString &date)
{
    d->model.setSubItems(row, {size, date});
}

QStringList ImageListView::subItems(int row) const
{
    return d->model.item(row).subItems;
}

QList<int> ImageListView::selectedRows() const
{
    QList<int> rows;
    const QModelIndexList selected = d->icons->selectionModel()->selectedRows();
    rows.reserve(selected.size());
    for (const QModelIndex &i : selected)
        rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ImageListView::selectAll()
{
    if (count() == 0)
        return;
    QItemSelection all(d->model.index(0, 0), d->model.index(count() - 1, d->model.columnCount() - 1));
    d->icons->selectionModel()->select(all, QItemSelectionModel::ClearAndSelect);
}

void ImageListView::setCurrentRow(int row)
{
    d->icons->selectionModel()->setCurrentIndex(d->model.index(row, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ImageListView::setImagesChanged()
{
    d->model.decorationsChanged();
    const ImageList &images = d->style == Style::Icon ? d->large : d->small;
    (d->style == Style::Icon ? static_cast<QAbstractItemView *>(d->icons) : d->report)
        ->setIconSize(QSize(images.width(), images.height()));
}

} // namespace pelorin
