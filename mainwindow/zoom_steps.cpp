#include "mainwindow/zoom_steps.h"

namespace stonerush {

int largestZoomStep(const WindowMeasure& window, QSize available) {
    int step = 1;
    while (window.at(step + 1).width() <= available.width() &&
           window.at(step + 1).height() <= available.height())
        ++step;
    return step;
}

int firstStartZoomStep(const WindowMeasure& window, QSize available) {
    return largestZoomStep(window, QSize(available.width(), available.height() / 2));
}

}  // namespace stonerush
