#include "platform/sound/music_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>

#include "platform/sound/quiet_audio.h"

namespace {

constexpr int kBytesPerFrame = MusicRenderer::kChannels * sizeof(int16_t);
// The samples are ready, so a long buffer costs no delay: a new stream is
// filled at once, and pausing closes the stream and gives back what was not
// heard. Chosen by measurement with tools/music_figures (wake-ups and CPU
// while playing at 80 ms, 250 ms and 1 s).
constexpr int kSinkBufferMs = 1000;
constexpr int kSinkBufferBytes = MusicRenderer::kSampleRate * kBytesPerFrame * kSinkBufferMs / 1000;

QAudioFormat MusicFormat() {
    QAudioFormat format;
    format.setSampleRate(MusicRenderer::kSampleRate);
    format.setChannelCount(MusicRenderer::kChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

}  // namespace

MusicOutput::MusicOutput(std::shared_ptr<MusicRenderer> renderer) : renderer_(std::move(renderer)) {
    // Parented, so moveToThread() takes it along to the music thread.
    refill_.setParent(this);
    connect(&refill_, &QTimer::timeout, this, &MusicOutput::Feed);
}

MusicOutput::~MusicOutput() {
    refill_.setParent(nullptr);
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
    // A timer, not a posted call: a chain of posted calls would hold off the
    // sink's refills until the whole tune is rendered.
    if (rendering_) QTimer::singleShot(1, this, &MusicOutput::RenderStep);
}

void MusicOutput::Update() {
    if (!rendering_) RenderStep();
    if (!has_device_) return;
    if (renderer_->IsPlaying()) {
        if (!stream_) StartSink();
    } else if (stream_) {
        // No stream while the music is silent. What the server had not yet
        // played is given back, so a paused tune resumes where it was heard.
        const qint64 heard = sink_->processedUSecs() * MusicRenderer::kSampleRate / 1000000;
        refill_.stop();
        sink_->stop();
        stream_ = nullptr;
        if (renderer_->Jumps() == jumps_at_start_) renderer_->Unread(frames_written_ - heard);
    }
}

void MusicOutput::StartSink() {
    if (!sink_) {
        sink_ = new QAudioSink(QMediaDevices::defaultAudioOutput(), MusicFormat(), this);
        sink_->setBufferSize(kSinkBufferBytes);
        connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
            if (state == QAudio::StoppedState && stream_ && sink_->error() != QAudio::NoError)
                FallBackToClock("the audio output failed");
        });
    }
    jumps_at_start_ = renderer_->Jumps();
    frames_written_ = 0;
    stream_ = sink_->start();
    if (!stream_ || (sink_->state() == QAudio::StoppedState && sink_->error() != QAudio::NoError))
        return FallBackToClock("no audio output");
    Feed();  // a full buffer starts the sound at once
    // Topped up four times per buffer: the server may grant less than asked
    // (a null sink gives about half a second).
    const qint64 granted_ms = sink_->bufferSize() * 1000 / (MusicRenderer::kSampleRate * kBytesPerFrame);
    refill_.start(static_cast<int>(std::clamp<qint64>(granted_ms / 4, 10, kSinkBufferMs / 4)));
}

void MusicOutput::Feed() {
    if (!stream_) return;
    const int frames = static_cast<int>(sink_->bytesFree() / kBytesPerFrame);
    if (frames <= 0) return;
    scratch_.resize(size_t(frames) * MusicRenderer::kChannels);
    renderer_->Render(scratch_.data(), frames);
    const qint64 written =
        stream_->write(reinterpret_cast<const char*>(scratch_.data()), qint64(frames) * kBytesPerFrame);
    const int taken = static_cast<int>(std::max<qint64>(written, 0) / kBytesPerFrame);
    if (taken < frames) renderer_->Unread(frames - taken);
    frames_written_ += taken;
}

void MusicOutput::FallBackToClock(const char* why) {
    has_device_ = false;
    refill_.stop();
    stream_ = nullptr;
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
    refill_.stop();
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
        delete sink_;
        sink_ = nullptr;
    }
    stream_ = nullptr;
    has_device_ = false;
}
