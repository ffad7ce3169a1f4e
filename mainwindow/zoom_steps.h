// Which whole zoom steps the main window may take on a screen.
#pragma once

#include <QSize>

namespace stonerush {

// The main window at each step: its client area and menu bar times the step,
// its frame (title bar, borders) as it is.
struct WindowMeasure {
    QSize atOne;  // client area and menu bar at 1x
    QSize frame;  // what the window manager adds around it

    QSize at(int step) const { return atOne * step + frame; }
};

// The frame of a window the window manager has not framed yet: a title bar of
// usual height.
constexpr QSize unframedFrame(0, 32);

// The largest step at which the window fits the available area; at least 1.
int largestZoomStep(const WindowMeasure& window, QSize available);

// The step of a first start: the largest at which the window takes at most
// half the available height (1x on 1920x1080, 2x on 2560x1440, 3x on
// 3840x2160 at 100% scale).
int firstStartZoomStep(const WindowMeasure& window, QSize available);

}  // namespace stonerush
