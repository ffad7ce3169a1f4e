// The baseline for the launch and timer figures: the least a Qt Widgets
// program can do. Shows a plain 298 x 298 window, as big as the splash, and
// runs until it is closed or killed.
//
//   minimal_window                    the window
//   minimal_window --timer-intervals  a bare 30 ms precise timer over 300 ticks
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

int MeasureTimer() {
    std::vector<double> intervals;
    QElapsedTimer clock;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (clock.isValid()) intervals.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        if (intervals.size() == 300) QCoreApplication::quit();
    });
    timer.start(30);
    QCoreApplication::exec();
    std::vector<double> sorted = intervals;
    std::sort(sorted.begin(), sorted.end());
    const double mean = std::accumulate(sorted.begin(), sorted.end(), 0.0) / sorted.size();
    const double p99 = sorted[static_cast<size_t>(0.99 * (sorted.size() - 1))];
    std::printf("timer interval over %zu ticks: mean %.2f ms, p99 %.2f ms, max %.2f ms (bare QTimer)\n",
                sorted.size(), mean, p99, sorted.back());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--timer-intervals") == 0) return MeasureTimer();
    QWidget window;
    window.setWindowTitle(QStringLiteral("baseline"));
    window.resize(298, 298);
    window.show();
    return QApplication::exec();
}
