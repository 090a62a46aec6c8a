#include "imaging/displaydepth.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <atomic>

namespace pelorin {

namespace {
// 0 means no override; otherwise the overriding bits per pixel plus one.
std::atomic<int> screenBitsOverride{0};
} // namespace

int depthForScreenBits(int bitsPerPixel)
{
    if (bitsPerPixel <= 4)
        return 4;
    if (bitsPerPixel < 16)
        return 8;
    return 24;
}

int displayDepth()
{
    if (const int forced = screenBitsOverride.load())
        return depthForScreenBits(forced - 1);
    const QScreen *screen =
        qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? depthForScreenBits(screen->depth()) : 24;
}

void setScreenBitsOverride(std::optional<int> bitsPerPixel)
{
    screenBitsOverride.store(bitsPerPixel ? std::max(*bitsPerPixel, 0) + 1 : 0);
}

} // namespace pelorin
