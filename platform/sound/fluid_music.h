// The background music: a MusicRenderer (the tune rendered once by FluidSynth
// at open()) played through a QAudioSink on a thread of its own, so a busy
// window never starves the sound card. The tune loops by itself; nothing of
// ours runs while it does not play. With no audio device the music still
// runs its course in silence, paced by a clock, and loops all the same.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "platform/sound/music.h"

class QThread;

namespace stonerush {

class MusicRenderer;
class MusicOutput;

class FluidMusic : public Music {
public:
    // soundfontFile: a General MIDI .sf2; "" = defaultSoundfontPath() (or
    // silent music if none is installed).
    explicit FluidMusic(const QString& soundfontFile = {});
    ~FluidMusic() override;
    FluidMusic(const FluidMusic&) = delete;
    FluidMusic& operator=(const FluidMusic&) = delete;

    void open(const QString& midiFile) override;
    void play() override;
    void pause() override;
    void resume() override;
    void rewind() override;
    void close() override;

    // Where the tune stands and how long it is, in MIDI ticks; the position
    // goes back to 0 where it would reach the length.
    int32_t position() const;
    int32_t length() const;
    // True while the frames go to a real audio device (false: silent clock).
    bool hasAudioDevice() const;

private:
    void startOutput();
    void stopOutput();
    void updateOutput();

    std::shared_ptr<MusicRenderer> m_renderer;
    std::unique_ptr<QThread> m_thread;
    MusicOutput* m_output = nullptr;  // lives on m_thread
};

}  // namespace stonerush
