// Wave sounds through QSoundEffect: one effect, so starting a sound cuts off
// the one playing. A file that is missing or cannot be played gives the
// desktop's alert sound instead.
#pragma once

#include <QString>
#include <memory>

#include "platform/sound/sound_effects.h"

class QSoundEffect;

namespace stonerush {

class QtSoundEffects : public SoundEffects {
public:
    QtSoundEffects();
    ~QtSoundEffects() override;

    void play(const QString& waveFile) override;

private:
    std::unique_ptr<QSoundEffect> m_effect;
};

}  // namespace stonerush
