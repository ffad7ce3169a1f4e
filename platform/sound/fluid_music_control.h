// The background music: a MusicRenderer (the tune rendered once by
// FluidSynth at "Open") played through a QAudioSink on a thread of its own,
// so a busy window never starves the sound card. Commands and the length and
// position are served on the caller's (GUI) thread; Notify() comes every
// 250 ms while the music plays, and so also once it has reached its end; no
// timer runs while it does not. With no audio device the music still runs
// its course in silence, paced by a clock, so the loop behaves the same.
#pragma once

#include <QString>
#include <QTimer>
#include <memory>

#include "platform/sound/music_control.h"

class MusicRenderer;
class QThread;
class MusicOutput;

class FluidMusicControl : public MusicControl {
    Q_OBJECT
public:
    // soundfont_path: a General MIDI .sf2; "" = DefaultSoundfontPath() (or
    // silent music if none is installed).
    explicit FluidMusicControl(QObject* parent = nullptr, const QString& soundfont_path = {});
    ~FluidMusicControl() override;

    void SetNotify(bool on) override;
    void SetWait(bool on) override;
    void SetFileName(const QString& path) override;
    void SetCommand(std::string_view word) override;
    int32_t Length() const override;
    int32_t Position() const override;

    // True while the frames go to a real audio device (false: silent clock).
    bool HasAudioDevice() const;

private:
    void StartOutput();
    void StopOutput();
    void Tick();

    std::shared_ptr<MusicRenderer> renderer_;
    QThread* thread_ = nullptr;
    MusicOutput* output_ = nullptr;  // lives on thread_
    QTimer notify_timer_;
};
