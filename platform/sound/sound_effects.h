// Short wave sounds, played without waiting: a new sound cuts off the one
// playing. A file that cannot be played gives the desktop's alert sound.
#pragma once

#include <QString>

namespace stonerush {

class SoundEffects {
public:
    virtual ~SoundEffects() = default;
    virtual void play(const QString& waveFile) = 0;
};

}  // namespace stonerush
