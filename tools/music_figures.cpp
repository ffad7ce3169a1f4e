// Prints how the background music costs: the delay from play() to the first
// audible sample at the sound server, the CPU share and wake-ups while it
// plays, and the memory it adds. Figures, not pass/fail.
//
//   tools/sound_figures.sh  (starts a private PulseAudio null sink and runs this)
//   build/<dir>/tools/music_figures data/rushtune.mid [monitor-device-name]
#include <unistd.h>
#include <QAudioDevice>
#include <QAudioSource>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/sound/fluid_music.h"
#include "platform/sound/music_renderer.h"

namespace {

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// CPU time of one thread, in clock ticks, found by its name.
long ThreadTicks(const std::string& name) {
    for (const QString& task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const std::string dir = "/proc/self/task/" + task.toStdString();
        std::string comm;
        std::getline(std::ifstream(dir + "/comm"), comm);
        if (comm != name) continue;
        std::string stat;
        std::getline(std::ifstream(dir + "/stat"), stat);
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string skip;
        long user = 0, system = 0;
        for (int i = 0; i < 11; ++i) fields >> skip;
        fields >> user >> system;
        return user + system;
    }
    return -1;
}

long ProcessTicks() {
    std::string stat;
    std::getline(std::ifstream("/proc/self/stat"), stat);
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string skip;
    long user = 0, system = 0;
    for (int i = 0; i < 11; ++i) fields >> skip;
    fields >> user >> system;
    return user + system;
}

// Voluntary context switches of all threads, or of the one named: how often
// they sleep.
long VoluntarySwitches(const std::string& name = {}) {
    long total = 0;
    for (const QString& task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const std::string dir = "/proc/self/task/" + task.toStdString();
        std::string comm;
        std::getline(std::ifstream(dir + "/comm"), comm);
        if (!name.empty() && comm != name) continue;
        std::ifstream status(dir + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) total += std::stol(line.substr(24));
    }
    return total;
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString midi = argc > 1 ? argv[1] : "data/rushtune.mid";
    const QString monitor = argc > 2 ? argv[2] : "test_listen";

    // Offline: how fast the synthesiser renders compared with real time.
    {
        stonerush::MusicRenderer renderer(stonerush::defaultSoundfontPath());
        renderer.open(midi.toStdString());
        renderer.play();
        std::vector<int16_t> buffer(size_t(stonerush::MusicRenderer::sampleRate) * 2);
        const double start = ThreadCpuSeconds();
        for (int s = 0; s < 20; ++s) renderer.render(buffer.data(), stonerush::MusicRenderer::sampleRate);
        const double used = ThreadCpuSeconds() - start;
        std::printf("offline render: 20 s of music in %.0f ms of CPU (%.2f%% of one core in real time)\n",
                    used * 1000, used / 20 * 100);
    }

    const long rss_before = ResidentKilobytes();
    stonerush::FluidMusic music;
    music.open(midi);
    Wait(2000);  // let the tune render and the output settle
    const long rss_open = ResidentKilobytes();
    std::printf("memory added by the music after open() (the tune rendered): %.1f MB (RSS %.1f -> %.1f MB)\n",
                (rss_open - rss_before) / 1024.0, rss_before / 1024.0, rss_open / 1024.0);
    std::printf("audio device: %s\n", music.hasAudioDevice() ? "yes" : "no (silent clock)");

    // Listen on the null sink's monitor for the first sound after play().
    QAudioDevice input;
    for (const QAudioDevice& d : QMediaDevices::audioInputs())
        if (d.id().contains(monitor.toUtf8())) input = d;
    QAudioSource* source = nullptr;
    QIODevice* recorded = nullptr;
    qint64 heard_at = -1;
    QElapsedTimer since_play;
    if (!input.isNull()) {
        QAudioFormat format;
        format.setSampleRate(44100);
        format.setChannelCount(2);
        format.setSampleFormat(QAudioFormat::Int16);
        source = new QAudioSource(input, format, &app);
        source->setBufferSize(44100 * 4 / 100);  // 10 ms: the listener should add little delay
        recorded = source->start();
        Wait(500);
        recorded->readAll();
        QObject::connect(recorded, &QIODevice::readyRead, [&] {
            const QByteArray data = recorded->readAll();
            if (heard_at >= 0 || !since_play.isValid()) return;
            const auto* s = reinterpret_cast<const int16_t*>(data.constData());
            for (qsizetype i = 0; i < data.size() / 2; ++i)
                if (std::abs(int(s[i])) > 64) {
                    heard_at = since_play.elapsed();
                    break;
                }
        });
    }

    since_play.start();
    music.play();
    Wait(3000);
    if (source) source->stop();  // the listener's own wake-ups are not the music's
    const long process_before = ProcessTicks();
    const long thread_before = ThreadTicks("music");
    const long switches_before = VoluntarySwitches();
    Wait(10000);
    const long switches_after = VoluntarySwitches();
    const long thread_after = ThreadTicks("music");
    const long process_after = ProcessTicks();
    const double ticks_per_second = double(sysconf(_SC_CLK_TCK)) * 10.0;

    if (input.isNull()) {
        std::printf("play() to first audible sample: not measured (no input named '%s' among:",
                    qPrintable(monitor));
        for (const QAudioDevice& d : QMediaDevices::audioInputs()) std::printf(" %s", d.id().constData());
        std::printf(")\n");
    } else if (heard_at < 0)
        std::printf("play() to first audible sample: nothing heard in 3 s\n");
    else
        std::printf("play() to first audible sample: %lld ms (includes ~10 ms of listening delay)\n",
                    static_cast<long long>(heard_at));
    std::printf("music thread CPU while playing: %.2f%% of one core\n",
                thread_before < 0 ? -1.0 : 100.0 * (thread_after - thread_before) / ticks_per_second);
    std::printf("whole process CPU while playing: %.2f%% of one core, %.1f wake-ups/s\n",
                100.0 * (process_after - process_before) / ticks_per_second,
                (switches_after - switches_before) / 10.0);
    std::printf("memory while playing: RSS %.1f MB\n", ResidentKilobytes() / 1024.0);

    // Paused, the stream is closed and nothing of the music's runs.
    music.pause();
    Wait(1000);
    const long paused_thread = ThreadTicks("music");
    const long paused_switches = VoluntarySwitches("music");
    Wait(5000);
    std::printf("music thread while paused: %.2f%% of one core, %.1f wake-ups/s\n",
                100.0 * (ThreadTicks("music") - paused_thread) / (ticks_per_second / 2),
                (VoluntarySwitches("music") - paused_switches) / 5.0);
    music.close();
    return 0;
}
