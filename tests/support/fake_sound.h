// Sound that hands every call to a log instead of playing it.
#pragma once

#include <QString>
#include <functional>

#include "platform/sound/music.h"
#include "platform/sound/sound_effects.h"

namespace stonerush {

class FakeMusic : public Music {
public:
    void open(const QString& file) override { log("open " + file); }
    void play() override { log("play"); }
    void pause() override { log("pause"); }
    void resume() override { log("resume"); }
    void rewind() override { log("rewind"); }
    void close() override { log("close"); }
    std::function<void(const QString&)> log = [](const QString&) {};
};

class FakeSoundEffects : public SoundEffects {
public:
    void play(const QString& file) override { log(file); }
    std::function<void(const QString&)> log = [](const QString&) {};
};

}  // namespace stonerush
