// Wave sounds through QSoundEffect: one effect, so starting a sound cuts off
// the one playing. A file that is missing or cannot be played gives the
// desktop's alert sound instead.
#pragma once

#include <QString>
#include <memory>

#include "platform/sound/wave_player.h"

class QSoundEffect;

class QtWavePlayer : public WavePlayer {
public:
    QtWavePlayer();
    ~QtWavePlayer() override;

    void Play(const QString& path) override;

private:
    std::unique_ptr<QSoundEffect> effect_;
};
