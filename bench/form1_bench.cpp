// The cost of one tick as the player gets it: the engine step, the 196 tile
// copies and the repaint request, in the real main window (drawn offscreen
// unless a platform is set).
//
//   form1_bench                      microseconds per tick with drawing
//   form1_bench --timer-intervals    the tick timer's real interval over 300 ticks
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <vector>

#include "mainwindow/form1.h"
#include "platform/sound/music.h"
#include "platform/sound/sound_effects.h"

namespace {

// The tick's cost without the sound's: music and waves that do nothing.
class SilentMusic : public stonerush::Music {
public:
    void open(const QString&) override {}
    void play() override {}
    void pause() override {}
    void resume() override {}
    void rewind() override {}
    void close() override {}
};
class SilentWaves : public stonerush::SoundEffects {
public:
    void play(const QString&) override {}
};

struct Window {
    QTemporaryDir folder;
    SilentMusic music;
    SilentWaves waves;
    Form1 form{Form1Services{music, waves, folder.path()}};

    Window() {
        form.Scores().setNamePrompt([] { return QStringLiteral("bench"); });
        form.show();
    }
    // Keeps a game running; a finished one is started again once its name
    // prompt has come and gone.
    void KeepPlaying() {
        if (form.Caption() != QLatin1String("START")) return;
        QCoreApplication::processEvents();
        form.Command1_Click();
    }
};

void BM_TickWithDrawing(benchmark::State& state) {
    Window window;
    window.KeepPlaying();
    window.form.Timer1.stop();  // the benchmark drives the ticks itself
    for (auto _ : state) {
        window.form.runTick();
        if (!window.form.isGameRunning()) {
            state.PauseTiming();
            window.KeepPlaying();
            window.form.Timer1.stop();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TickWithDrawing)->Unit(benchmark::kMicrosecond);

void BM_DrawOnly(benchmark::State& state) {
    Window window;
    window.KeepPlaying();
    window.form.Timer1.stop();
    for (auto _ : state) window.form.Redraw();
}
BENCHMARK(BM_DrawOnly)->Unit(benchmark::kMicrosecond);

// Lets the real timer run a game and prints how far apart its ticks came.
int MeasureTimerIntervals(int ticks) {
    Window window;
    window.KeepPlaying();
    std::vector<double> intervals;
    QElapsedTimer clock;
    clock.start();
    qint64 last = -1;
    QObject::connect(&window.form.Timer1, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0) intervals.push_back((now - last) / 1e6);
        last = now;
        window.KeepPlaying();
        if (static_cast<int>(intervals.size()) >= ticks) QCoreApplication::quit();
    });
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
    if (argc > 1 && std::strcmp(argv[1], "--timer-intervals") == 0) return MeasureTimerIntervals(300);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
