#include "platform/sound/fluid_music_control.h"

#include <QThread>

#include "platform/sound/music_output.h"
#include "platform/sound/music_renderer.h"
#include "platform/sound/quiet_audio.h"

namespace {
constexpr int kNotifyIntervalMs = 250;
}

FluidMusicControl::FluidMusicControl(QObject* parent, const QString& soundfont_path) : MusicControl(parent) {
    const std::string soundfont =
        soundfont_path.isEmpty() ? DefaultSoundfontPath() : soundfont_path.toStdString();
    if (soundfont.empty()) ReportSilentOnce("no soundfont for the music");
    renderer_ = std::make_shared<MusicRenderer>(soundfont);
    notify_timer_.setInterval(kNotifyIntervalMs);
    connect(&notify_timer_, &QTimer::timeout, this, &FluidMusicControl::Tick);
}

FluidMusicControl::~FluidMusicControl() {
    SetCommand("Close");
}

// The two settings a media control takes before "Open" mean nothing here.
void FluidMusicControl::SetNotify(bool) {}
void FluidMusicControl::SetWait(bool) {}

void FluidMusicControl::SetFileName(const QString& path) {
    renderer_->SetFileName(path.toStdString());
}

void FluidMusicControl::SetCommand(std::string_view word) {
    if (word == "Close") StopOutput();
    renderer_->Command(word);
    if (word == "Open") StartOutput();
    if (output_) QMetaObject::invokeMethod(output_, &MusicOutput::Update, Qt::QueuedConnection);
    // Nothing of ours runs while the music does not play.
    if (!renderer_->IsPlaying())
        notify_timer_.stop();
    else if (!notify_timer_.isActive())
        notify_timer_.start();
}

int32_t FluidMusicControl::Length() const {
    return renderer_->Length();
}
int32_t FluidMusicControl::Position() const {
    return renderer_->Position();
}

bool FluidMusicControl::HasAudioDevice() const {
    return output_ && output_->HasAudioDevice();
}

void FluidMusicControl::StartOutput() {
    if (thread_) return;  // a second "Open" reuses the running output
    thread_ = new QThread(this);
    thread_->setObjectName("music");
    output_ = new MusicOutput(renderer_);
    output_->moveToThread(thread_);
    connect(thread_, &QThread::started, output_, &MusicOutput::Start);
    thread_->start();
}

void FluidMusicControl::StopOutput() {
    notify_timer_.stop();
    if (!thread_) return;
    QMetaObject::invokeMethod(output_, &MusicOutput::Finish, Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
    delete output_;
    delete thread_;
    output_ = nullptr;
    thread_ = nullptr;
}

// Only a piece that has been read has a length; a missing file never gets
// one, and then there is nothing to announce.
void FluidMusicControl::Tick() {
    if (renderer_->IsPlaying() && renderer_->Length() > 0) emit Notify();
}
