// The cost of one tick as the player gets it: the engine step, the session's
// signals and the views bringing their cells up to date, in the real main
// window (drawn offscreen unless a platform is set).
//
//   main_window_bench                      microseconds per tick, with and without the painting
//   main_window_bench --timer-intervals    the tick timer's real interval over 300 ticks
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <vector>

#include "mainwindow/game_session.h"
#include "mainwindow/main_window.h"
#include "platform/sound/music.h"
#include "platform/sound/sound_effects.h"

namespace {

using namespace stonerush;

// The tick's cost without the sound's: music and effects that do nothing.
class SilentMusic : public Music {
public:
    void open(const QString&) override {}
    void play() override {}
    void pause() override {}
    void resume() override {}
    void rewind() override {}
    void close() override {}
};
class SilentEffects : public SoundEffects {
public:
    void play(const QString&) override {}
};

struct Window {
    QTemporaryDir folder;
    SilentMusic music;
    SilentEffects effects;
    GameSession session{music, effects, folder.path()};
    MainWindow window{session, {folder.path(), folder.path()}};

    bool over = true;  // no game runs: the button says START

    Window() {
        QObject::connect(&session, &GameSession::stateChanged,
                         [this](SessionState state) { over = state == SessionState::Ready; });
        window.show();
    }
    // Keeps a game running; a finished one is started again, its name prompt answered.
    void keepPlaying() {
        if (!over) return;
        for (auto* prompt : window.findChildren<QInputDialog*>()) prompt->accept();
        session.pressStartButton();
    }
};

// One tick: the step and the views' record of their cells, with the
// screen's share (the painting) left to the event loop.
void BM_TickWithDrawing(benchmark::State& state) {
    Window bench;
    bench.keepPlaying();
    for (auto _ : state) {
        bench.session.tick();
        if (bench.over) {
            state.PauseTiming();
            bench.keepPlaying();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TickWithDrawing)->Unit(benchmark::kMicrosecond);

// The same with the painting of what changed.
void BM_TickAndPaint(benchmark::State& state) {
    Window bench;
    bench.keepPlaying();
    for (auto _ : state) {
        bench.session.tick();
        QCoreApplication::processEvents();
        if (bench.over) {
            state.PauseTiming();
            bench.keepPlaying();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TickAndPaint)->Unit(benchmark::kMicrosecond);

// Lets the real timer run a game and prints how far apart its ticks came.
int measureTimerIntervals(int ticks) {
    Window bench;
    bench.keepPlaying();
    std::vector<double> intervals;
    QElapsedTimer clock;
    clock.start();
    qint64 last = -1;
    QObject::connect(&bench.session, &GameSession::cellsChanged, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0) intervals.push_back((now - last) / 1e6);
        last = now;
        if (static_cast<int>(intervals.size()) >= ticks) QCoreApplication::quit();
    });
    QObject::connect(&bench.session, &GameSession::gameEnded, [&] { last = -1; });
    QObject::connect(&bench.session, &GameSession::stateChanged, [&] { bench.keepPlaying(); });
    QApplication::exec();
    std::sort(intervals.begin(), intervals.end());
    const double mean = std::accumulate(intervals.begin(), intervals.end(), 0.0) / intervals.size();
    const double p99 = intervals[static_cast<size_t>(0.99 * (intervals.size() - 1))];
    std::printf("timer interval over %zu ticks: mean %.2f ms, p99 %.2f ms, max %.2f ms (platform %s)\n",
                intervals.size(), mean, p99, intervals.back(), qPrintable(QApplication::platformName()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--timer-intervals") == 0) return measureTimerIntervals(300);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
