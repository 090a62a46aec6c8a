#pragma once
// The real main window listing a folder of JPEG files in icon style, timed.

#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace pelorin {
class TMainForm;
}

// The tile size of the benchmark: the default thumbnail size.
QSize benchTileSize();

class BenchListing
{
public:
    explicit BenchListing(const QString &directory);
    ~BenchListing();
    // One listing through UpdateListbox; returns the time it took in milliseconds.
    double run();
    // The same listing with No Thumbs checked: the cost of the list alone.
    double runWithoutThumbnails();
    int itemCount() const;
    int imageCount() const;

private:
    QString mDirectory;
    QTemporaryDir mConfig; // the settings of a fresh user, never the real ones
    std::unique_ptr<pelorin::TMainForm> mForm;
};
