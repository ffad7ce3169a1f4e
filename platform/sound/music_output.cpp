#include "platform/sound/music_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>

#include "platform/sound/quiet_audio.h"

namespace stonerush {

namespace {

constexpr int bytesPerFrame = MusicRenderer::channels * sizeof(int16_t);
// The samples are ready, so a long buffer costs no delay: a new stream is
// filled at once, and pausing closes the stream and gives back what was not
// heard. Chosen by measurement with tools/music_figures (wake-ups and CPU
// while playing at 80 ms, 250 ms and 1 s).
constexpr int sinkBufferMs = 1000;
constexpr int sinkBufferBytes = MusicRenderer::sampleRate * bytesPerFrame * sinkBufferMs / 1000;

QAudioFormat musicFormat() {
    QAudioFormat format;
    format.setSampleRate(MusicRenderer::sampleRate);
    format.setChannelCount(MusicRenderer::channels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

}  // namespace

MusicOutput::MusicOutput(std::shared_ptr<MusicRenderer> renderer) : m_renderer(std::move(renderer)) {
    // Parented, so moveToThread() takes it along to the music thread.
    m_refill.setParent(this);
    connect(&m_refill, &QTimer::timeout, this, &MusicOutput::feed);
}

MusicOutput::~MusicOutput() {
    m_refill.setParent(nullptr);
}

void MusicOutput::start() {
    quietenQtMultimedia();
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull() || !output.isFormatSupported(musicFormat()))
        fallBackToClock("no audio output");
    else
        m_hasDevice = true;
    update();
}

void MusicOutput::renderStep() {
    m_rendering = m_renderer->renderAhead();
    // A timer, not a posted call: a chain of posted calls would hold off the
    // sink's refills until the whole tune is rendered.
    if (m_rendering) QTimer::singleShot(1, this, &MusicOutput::renderStep);
}

void MusicOutput::update() {
    if (!m_rendering) renderStep();
    if (!m_hasDevice) return;
    if (m_renderer->isPlaying()) {
        if (!m_stream) startSink();
    } else if (m_stream) {
        // No stream while the music is silent. What the server had not yet
        // played is given back, so a paused tune resumes where it was heard.
        const qint64 heard = m_sink->processedUSecs() * MusicRenderer::sampleRate / 1000000;
        m_refill.stop();
        m_sink->stop();
        m_stream = nullptr;
        if (m_renderer->jumps() == m_jumpsAtStart) m_renderer->unread(m_framesWritten - heard);
    }
}

void MusicOutput::startSink() {
    if (!m_sink) {
        m_sink = new QAudioSink(QMediaDevices::defaultAudioOutput(), musicFormat(), this);
        m_sink->setBufferSize(sinkBufferBytes);
        connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
            if (state == QAudio::StoppedState && m_stream && m_sink->error() != QAudio::NoError)
                fallBackToClock("the audio output failed");
        });
    }
    m_jumpsAtStart = m_renderer->jumps();
    m_framesWritten = 0;
    m_stream = m_sink->start();
    if (!m_stream || (m_sink->state() == QAudio::StoppedState && m_sink->error() != QAudio::NoError))
        return fallBackToClock("no audio output");
    feed();  // a full buffer starts the sound at once
    // Topped up four times per buffer: the server may grant less than asked
    // (a null sink gives about half a second).
    const qint64 grantedMs = m_sink->bufferSize() * 1000 / (MusicRenderer::sampleRate * bytesPerFrame);
    m_refill.start(static_cast<int>(std::clamp<qint64>(grantedMs / 4, 10, sinkBufferMs / 4)));
}

void MusicOutput::feed() {
    if (!m_stream) return;
    const int frames = static_cast<int>(m_sink->bytesFree() / bytesPerFrame);
    if (frames <= 0) return;
    m_scratch.resize(size_t(frames) * MusicRenderer::channels);
    m_renderer->render(m_scratch.data(), frames);
    const qint64 written =
        m_stream->write(reinterpret_cast<const char*>(m_scratch.data()), qint64(frames) * bytesPerFrame);
    const int taken = static_cast<int>(std::max<qint64>(written, 0) / bytesPerFrame);
    if (taken < frames) m_renderer->unread(frames - taken);
    m_framesWritten += taken;
}

void MusicOutput::fallBackToClock(const char* why) {
    m_hasDevice = false;
    m_refill.stop();
    m_stream = nullptr;
    if (m_sink) {
        m_sink->disconnect(this);
        m_sink->stop();
        m_sink->deleteLater();
        m_sink = nullptr;
    }
    reportSilentOnce(why);
    m_renderer->useClock();
}

void MusicOutput::finish() {
    m_refill.stop();
    if (m_sink) {
        m_sink->disconnect(this);
        m_sink->stop();
        delete m_sink;
        m_sink = nullptr;
    }
    m_stream = nullptr;
    m_hasDevice = false;
}

}  // namespace stonerush
