// The music itself, without any audio device: a FluidSynth synthesiser and
// MIDI file player driven by the media-control command words, rendering
// 16-bit stereo frames on request. Whatever pulls the frames (a sound card,
// a silent clock, a test) sets the pace: the player's time is the number of
// frames rendered. Safe to call from two threads: one renders, the other
// sends commands and reads the length and position.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;

// The General MIDI soundfont to use, or "" when none is installed (the music
// is then silent, but it still runs its course).
std::string DefaultSoundfontPath();

class MusicRenderer {
public:
    static constexpr int kSampleRate = 22050;
    static constexpr int kChannels = 2;

    // An empty or unreadable soundfont gives silent music.
    explicit MusicRenderer(std::string soundfont_path);
    ~MusicRenderer();
    MusicRenderer(const MusicRenderer&) = delete;
    MusicRenderer& operator=(const MusicRenderer&) = delete;

    void SetFileName(std::string path);

    // "Open", "Play", "Pause" (a toggle), "Stop", "Next" (back to the start)
    // and "Close". Other words, and words that make no sense in the current
    // state (say "Play" before "Open"), do nothing.
    void Command(std::string_view word);

    // In MIDI ticks. The length is 0 until the file has been read, which
    // happens at the first render after "Play"; the position goes on
    // counting past the length while the last notes ring out.
    int32_t Length() const;
    int32_t Position() const;

    bool IsOpen() const;
    bool IsPlaying() const;  // "Play" given and not paused or stopped since
    bool HasSoundfont() const;

    // Fills frames × 2 interleaved samples; silence when closed.
    void Render(int16_t* out, int frames);

private:
    enum class State { kClosed, kStopped, kPlaying, kPaused };

    void Open();
    void Close();
    void NewPlayer();
    void Halt();  // stops the player and lets sounding notes fade

    std::string soundfont_path_;
    std::string file_name_;
    mutable std::mutex mutex_;
    State state_ = State::kClosed;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    bool has_soundfont_ = false;
    mutable int32_t known_length_ = 0;
};
