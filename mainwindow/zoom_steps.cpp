#include "mainwindow/zoom_steps.h"

#include <QSettings>

namespace stonerush {

namespace {

const char* const zoomKey = "zoom";

// In the player's configuration folder: ~/.config/stonerush/stonerush.conf.
QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("stonerush"),
                     QStringLiteral("stonerush"));
}

}  // namespace

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

std::optional<int> savedZoomStep() {
    bool ok = false;
    const int step = settings().value(QLatin1String(zoomKey)).toInt(&ok);
    if (!ok || step < 1) return std::nullopt;
    return step;
}

void saveZoomStep(int step) {
    settings().setValue(QLatin1String(zoomKey), step);
}

}  // namespace stonerush
