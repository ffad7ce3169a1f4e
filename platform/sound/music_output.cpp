#include "platform/sound/music_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>

#include "platform/sound/quiet_audio.h"

namespace {

constexpr int kBytesPerFrame = MusicRenderer::kChannels * sizeof(int16_t);
// The samples are ready, so a long buffer costs no delay at "Play" or
// "Pause" (a new stream fills it at once; pausing corks it). Measured with
// tools/figures.sh: see the commit that set it.
constexpr int kSinkBufferMs = 250;
constexpr int kSinkBufferBytes = MusicRenderer::kSampleRate * kBytesPerFrame * kSinkBufferMs / 1000;

QAudioFormat MusicFormat() {
    QAudioFormat format;
    format.setSampleRate(MusicRenderer::kSampleRate);
    format.setChannelCount(MusicRenderer::kChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

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
    // Parented, so moveToThread() takes it along to the music thread.
    device_.setParent(this);
}

MusicOutput::~MusicOutput() {
    device_.setParent(nullptr);
}

void MusicOutput::Start() {
    QuietenQtMultimedia();
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull() || !output.isFormatSupported(MusicFormat()))
        FallBackToClock("no audio output");
    else
        has_device_ = true;
    Update();
}

void MusicOutput::RenderStep() {
    rendering_ = renderer_->RenderAhead();
    if (rendering_) QMetaObject::invokeMethod(this, &MusicOutput::RenderStep, Qt::QueuedConnection);
}

void MusicOutput::Update() {
    if (!rendering_) RenderStep();
    if (!has_device_) return;
    const int jumps = renderer_->Jumps();
    if (renderer_->IsPlaying()) {
        if (sink_ && sink_->state() == QAudio::SuspendedState && jumps == jumps_when_corked_)
            sink_->resume();
        else if (!sink_ || sink_->state() == QAudio::StoppedState || sink_->state() == QAudio::SuspendedState)
            StartSink();
    } else if (sink_ && renderer_->IsPaused()) {
        // Corked: the sound server keeps what it holds and needs no work.
        if (sink_->state() != QAudio::SuspendedState && sink_->state() != QAudio::StoppedState) {
            sink_->suspend();
            jumps_when_corked_ = jumps;
        }
    } else if (sink_) {
        sink_->stop();  // no stream at all while the music is stopped
    }
}

void MusicOutput::StartSink() {
    if (!sink_) {
        sink_ = new QAudioSink(QMediaDevices::defaultAudioOutput(), MusicFormat(), this);
        sink_->setBufferSize(kSinkBufferBytes);
        connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
            if (state == QAudio::StoppedState && sink_ && sink_->error() != QAudio::NoError)
                FallBackToClock("the audio output failed");
        });
    }
    sink_->stop();
    if (!device_.isOpen()) device_.open(QIODevice::ReadOnly);
    sink_->start(&device_);
    if (sink_ && sink_->state() == QAudio::StoppedState && sink_->error() != QAudio::NoError)
        FallBackToClock("no audio output");
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
    renderer_->UseClock();
}

void MusicOutput::Finish() {
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
        delete sink_;
        sink_ = nullptr;
    }
    device_.close();
    has_device_ = false;
}
