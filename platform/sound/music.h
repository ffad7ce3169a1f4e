// The background music: one tune, opened once, that loops by itself while it
// plays. Each call acts at once; none waits for the sound device.
#pragma once

#include <QString>

namespace stonerush {

class Music {
public:
    virtual ~Music() = default;

    // Prepares the tune (silent until play()). A missing or broken file gives
    // music that stays silent; nothing fails.
    virtual void open(const QString& midiFile) = 0;

    // Plays from where the tune stands: its start after open() or rewind(),
    // else where pause() held it. Nothing when already playing.
    virtual void play() = 0;
    // Holds the tune where it is; nothing when it is not playing.
    virtual void pause() = 0;
    // Goes on from where pause() held it; nothing when it is not paused.
    virtual void resume() = 0;
    // Stops and goes back to the start.
    virtual void rewind() = 0;
    // Lets the sound device go; only open() brings the tune back.
    virtual void close() = 0;
};

}  // namespace stonerush
