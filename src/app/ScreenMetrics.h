#pragma once

#include <QSize>

// The display's resolution in pixels: the page templates and the splitter depend on it.
QSize ScreenSize();

// Makes ScreenSize() answer `size` (tests, screenshots); an empty size restores the real one.
void SetScreenSizeOverride(const QSize &size);
