#include "platform/sound/fluid_music.h"

#include <QThread>

#include "platform/sound/music_output.h"
#include "platform/sound/music_renderer.h"
#include "platform/sound/quiet_audio.h"

namespace stonerush {

FluidMusic::FluidMusic(const QString& soundfontFile) {
    const std::string soundfont =
        soundfontFile.isEmpty() ? defaultSoundfontPath() : soundfontFile.toStdString();
    if (soundfont.empty()) reportSilentOnce("no soundfont for the music");
    m_renderer = std::make_shared<MusicRenderer>(soundfont);
}

FluidMusic::~FluidMusic() {
    close();
}

void FluidMusic::open(const QString& midiFile) {
    m_renderer->open(midiFile.toStdString());
    startOutput();
    updateOutput();
}

void FluidMusic::play() {
    m_renderer->play();
    updateOutput();
}

void FluidMusic::pause() {
    m_renderer->pause();
    updateOutput();
}

void FluidMusic::resume() {
    m_renderer->resume();
    updateOutput();
}

void FluidMusic::rewind() {
    m_renderer->rewind();
    updateOutput();
}

void FluidMusic::close() {
    stopOutput();
    m_renderer->close();
}

int32_t FluidMusic::position() const {
    return m_renderer->position();
}

int32_t FluidMusic::length() const {
    return m_renderer->length();
}

bool FluidMusic::hasAudioDevice() const {
    return m_output && m_output->hasAudioDevice();
}

void FluidMusic::startOutput() {
    if (m_thread) return;  // a second open() reuses the running output
    m_thread = std::make_unique<QThread>();
    m_thread->setObjectName("music");
    m_output = new MusicOutput(m_renderer);
    m_output->moveToThread(m_thread.get());
    QObject::connect(m_thread.get(), &QThread::started, m_output, &MusicOutput::start);
    m_thread->start();
}

void FluidMusic::stopOutput() {
    if (!m_thread) return;
    QMetaObject::invokeMethod(m_output, &MusicOutput::finish, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_output;
    m_output = nullptr;
    m_thread.reset();
}

// The output follows the renderer on its own thread: it opens the stream for
// music that plays, closes it for music that does not.
void FluidMusic::updateOutput() {
    if (m_output) QMetaObject::invokeMethod(m_output, &MusicOutput::update, Qt::QueuedConnection);
}

}  // namespace stonerush
