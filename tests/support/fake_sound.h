// Recording stand-ins for the music control and the wave player.
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

#include "platform/sound/music_control.h"
#include "platform/sound/wave_player.h"

class FakeMusicControl : public MusicControl {
public:
    void SetNotify(bool) override {}
    void SetWait(bool) override {}
    void SetFileName(const QString& path) override { fileName = path; }
    void SetCommand(std::string_view word) override {
        words << QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
    }
    int32_t Length() const override { return length; }
    int32_t Position() const override { return position; }

    QString fileName;
    QStringList words;
    int32_t length = 0;
    int32_t position = 0;
};

class FakeWavePlayer : public WavePlayer {
public:
    void Play(const QString& path) override { played << path; }
    QStringList played;
};
