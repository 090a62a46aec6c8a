#include "imaging/bridges.h"

#include "imaging/bmpdecoder.h"
#include "imaging/imagecomponent.h"
#include "imaging/imageholders.h"
#include "imaging/pictureholder.h"
#include "platform/error.h"
#include "platform/workdir.h"
#include "shell/appstate.h"

#include <QFile>
#include <QPainter>

namespace pelorin {

namespace {

// Removes a scratch file when the scope ends, on every path.
class ScratchFile
{
public:
    explicit ScratchFile(QString path) : mPath(std::move(path)) { QFile::remove(mPath); }
    ~ScratchFile() { QFile::remove(mPath); }
    ScratchFile(const ScratchFile &) = delete;
    ScratchFile &operator=(const ScratchFile &) = delete;
    const QString &path() const { return mPath; }

private:
    QString mPath;
};

} // namespace

QString bridgeDirectory()
{
    AppState &state = appState();
    if (state.WindowsDir.isEmpty())
        state.WindowsDir = makeWindowsDir();
    if (state.WindowsDir.isEmpty())
        throw Error(QStringLiteral("No scratch directory for temporary images"));
    return state.WindowsDir;
}

QImage BridgeToBitmap(ImageComponent &component)
{
    const WorkingDirectoryGuard restore;
    const QString dir = bridgeDirectory();
    setWorkingDirectory(dir);
    const ScratchFile scratch(includeBackslash(dir) + QStringLiteral("$.$mp"));
    if (!component.writeBmp(QStringLiteral("$.$mp")))
        return {};
    QFile file(scratch.path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return bmp::readFile(file.readAll()).image;
}

void BridgeToComponent(const QString &fileName, QSize size, PictureHolder &picture, ImageComponent &target)
{
    const WorkingDirectoryGuard restore;
    QImage bitmap(size, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    picture.loadFromFile(fileName);
    {
        QPainter painter(&bitmap);
        picture.picture().drawStretched(painter, bitmap.rect());
    }
    const QString dir = bridgeDirectory();
    setWorkingDirectory(dir);
    const ScratchFile scratch(includeBackslash(dir) + QStringLiteral("$.bmp"));
    if (!bitmap.save(scratch.path(), "BMP"))
        throw Error(QStringLiteral("Cannot write %1").arg(scratch.path()));
    target.setImageName(QStringLiteral("$.bmp"));
}

void BridgeToComponent(const QString &fileName, QSize size)
{
    ImageHolders &holders = imageHolders();
    BridgeToComponent(fileName, size, holders.workPicture, holders.viewerComponent);
}

} // namespace pelorin
