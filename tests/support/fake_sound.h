// Sound that hands every word and wave to a log instead of playing it.
#pragma once

#include <QString>
#include <functional>

#include "platform/sound/music_control.h"
#include "platform/sound/wave_player.h"

class FakeMusicControl : public MusicControl {
public:
    void SetNotify(bool) override {}
    void SetWait(bool) override {}
    void SetFileName(const QString& path) override { log(path); }
    void SetCommand(std::string_view word) override {
        log(QString::fromLatin1(word.data(), qsizetype(word.size())));
    }
    int32_t Length() const override { return length; }
    int32_t Position() const override { return position; }

    std::function<void(const QString&)> log = [](const QString&) {};
    int32_t length = 0;
    int32_t position = 0;
};

class FakeWavePlayer : public WavePlayer {
public:
    void Play(const QString& path) override { log(path); }
    std::function<void(const QString&)> log = [](const QString&) {};
};
