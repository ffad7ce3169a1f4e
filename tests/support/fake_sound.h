// Sound that hands every call and wave to a log instead of playing it.
#pragma once

#include <QString>
#include <functional>

#include "platform/sound/music.h"
#include "platform/sound/sound_effects.h"

namespace stonerush {

using SoundLog = std::function<void(const QString&)>;

class FakeMusic : public Music {
public:
    void open(const QString& midiFile) override { log("open " + midiFile); }
    void play() override { log("play"); }
    void pause() override { log("pause"); }
    void resume() override { log("resume"); }
    void rewind() override { log("rewind"); }
    void close() override { log("close"); }
    SoundLog log = [](const QString&) {};
};

class FakeSoundEffects : public SoundEffects {
public:
    void play(const QString& waveFile) override { log(waveFile); }
    SoundLog log = [](const QString&) {};
};

}  // namespace stonerush
