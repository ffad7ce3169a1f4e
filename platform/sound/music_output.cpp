#include "platform/sound/music_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>

#include "platform/sound/quiet_audio.h"

namespace {

constexpr int kBytesPerFrame = MusicRenderer::kChannels * sizeof(int16_t);
// About 80 ms of sound queued at the device: short enough that "Play" is heard
// at once, long enough to ride out a busy moment of the machine.
constexpr int kSinkBufferBytes = MusicRenderer::kSampleRate * kBytesPerFrame * 80 / 1000;
constexpr int kClockIntervalMs = 50;

}  // namespace

RendererDevice::RendererDevice(std::shared_ptr<MusicRenderer> renderer) : renderer_(std::move(renderer)) {}

qint64 RendererDevice::bytesAvailable() const {
    return kSinkBufferBytes + QIODevice::bytesAvailable();
}

qint64 RendererDevice::readData(char* data, qint64 max_bytes) {
    const int frames = static_cast<int>(std::min<qint64>(max_bytes, kSinkBufferBytes) / kBytesPerFrame);
    renderer_->Render(reinterpret_cast<int16_t*>(data), frames);
    return qint64(frames) * kBytesPerFrame;
}

MusicOutput::MusicOutput(std::shared_ptr<MusicRenderer> renderer)
    : renderer_(std::move(renderer)), device_(renderer_) {
    // Parented, so moveToThread() takes them along to the music thread.
    device_.setParent(this);
    clock_.setParent(this);
    clock_.setInterval(kClockIntervalMs);
    connect(&clock_, &QTimer::timeout, this, &MusicOutput::ClockTick);
}

MusicOutput::~MusicOutput() {
    device_.setParent(nullptr);
    clock_.setParent(nullptr);
}

void MusicOutput::Start() {
    QuietenQtMultimedia();
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(MusicRenderer::kSampleRate);
    format.setChannelCount(MusicRenderer::kChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (output.isNull() || !output.isFormatSupported(format)) return FallBackToClock("no audio output");

    device_.open(QIODevice::ReadOnly);
    sink_ = new QAudioSink(output, format, this);
    sink_->setBufferSize(kSinkBufferBytes);
    connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::StoppedState && sink_ && sink_->error() != QAudio::NoError)
            FallBackToClock("the audio output failed");
    });
    sink_->start(&device_);
    if (sink_ && sink_->state() == QAudio::StoppedState && sink_->error() != QAudio::NoError)
        return FallBackToClock("no audio output");
    has_device_ = sink_ != nullptr;
}

void MusicOutput::FallBackToClock(const char* why) {
    has_device_ = false;
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
        sink_->deleteLater();
        sink_ = nullptr;
    }
    ReportSilentOnce(why);
    frames_rendered_ = 0;
    elapsed_.start();
    clock_.start();
}

void MusicOutput::ClockTick() {
    // Keep the music's time in step with the wall clock, but never catch up
    // more than a second at once (the machine may have been asleep).
    const qint64 due = elapsed_.elapsed() * MusicRenderer::kSampleRate / 1000;
    const int frames = static_cast<int>(std::min<qint64>(due - frames_rendered_, MusicRenderer::kSampleRate));
    if (frames <= 0) return;
    scratch_.resize(size_t(frames) * MusicRenderer::kChannels);
    renderer_->Render(scratch_.data(), frames);
    frames_rendered_ = std::max(frames_rendered_ + frames, due - MusicRenderer::kSampleRate);
}

void MusicOutput::Finish() {
    clock_.stop();
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
        delete sink_;
        sink_ = nullptr;
    }
    device_.close();
    has_device_ = false;
}
