// Short wave sounds, played without waiting: a new sound cuts off the one playing.
#pragma once

#include <QString>

class WavePlayer {
public:
    virtual ~WavePlayer() = default;

    // Starts the wave file at path and returns at once. A file that cannot be
    // played gives the desktop's alert sound instead.
    virtual void Play(const QString& path) = 0;
};
