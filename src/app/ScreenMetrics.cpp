#include "app/ScreenMetrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

QSize screenSizeOverride;

} // namespace

QSize ScreenSize()
{
    if (!screenSizeOverride.isEmpty())
        return screenSizeOverride;
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->size() : QSize(1024, 768);
}

void SetScreenSizeOverride(const QSize &size)
{
    screenSizeOverride = size;
}
