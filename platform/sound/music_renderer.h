// The music itself, without any audio device. "Open" prepares the tune, which
// is then rendered once, whole, by FluidSynth into memory (RenderAhead(), on
// whatever thread plays it, the first seconds first); the synthesiser and
// soundfont are freed as soon as it is done. The command words then only move
// a read position over the samples, and a table from sample position to MIDI
// tick gives the length and position in ticks.
//
// Whatever pulls the frames (a sound card, a test) sets the pace: the position
// is the number of frames read. With no audio device a clock sets it instead
// (UseClock()). Safe to call from two threads: one renders and reads frames,
// the other sends commands and reads the length and position.
//
// FluidSynth 2.3.1's reverb sometimes starts in a broken state and puts out
// NaN on every sample; a rendering with a sample that is not finite or is at
// full scale is thrown away and done again with a new synthesiser.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

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
    // Frames per entry of the tick table, and per check of the guard.
    static constexpr int kBlockFrames = 256;

    // An empty or unreadable soundfont gives silent music.
    explicit MusicRenderer(std::string soundfont_path);
    virtual ~MusicRenderer();
    MusicRenderer(const MusicRenderer&) = delete;
    MusicRenderer& operator=(const MusicRenderer&) = delete;

    void SetFileName(std::string path);

    // "Open", "Play", "Pause" (a toggle), "Stop", "Next" (back to the start)
    // and "Close". Other words, and words that make no sense in the current
    // state (say "Play" before "Open"), do nothing.
    void Command(std::string_view word);

    // Renders the next stretch of the tune into memory; false once it is all
    // there (or nothing is open). Render() also calls it when it runs short.
    bool RenderAhead();

    // In MIDI ticks. The length is 0 until the start of the file has been
    // rendered, and stays 0 for a missing or broken file; the position goes
    // past the length while the last notes ring out.
    int32_t Length() const;
    int32_t Position() const;

    bool IsPlaying() const;  // "Play" given and not paused or stopped since
    // Counts "Open" and "Next": moves of the position that are not playing on.
    int Jumps() const;

    // Fills frames × 2 interleaved samples from the read position and moves it
    // on while playing; silence when not playing or past the end.
    void Render(int16_t* out, int frames);

    // Moves the read position back by frames that were read but never heard
    // (they were still queued at the sound server when it stopped).
    void Unread(int64_t frames);

    // With no audio device: from now on the position follows the wall clock
    // while the music plays.
    void UseClock();

protected:
    // One block of interleaved float frames from the synthesiser; a test
    // breaks it on purpose.
    virtual void Synthesise(fluid_synth_t* synth, float* out, int frames);

private:
    enum class State { kClosed, kStopped, kPlaying, kPaused };

    void Open();
    void Close();
    void Forget(State next);
    void StartSynthesiser();           // under synth_mutex_
    void FreeSynthesiser();            // under synth_mutex_
    int64_t ReadFrame() const;         // under mutex_
    void SetReadFrame(int64_t frame);  // under mutex_

    const std::string soundfont_path_;

    // The synthesiser side: only RenderAhead() uses it.
    std::mutex synth_mutex_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    std::vector<float> block_;
    int64_t end_frame_ = -1;  // where the last tick was reached

    // The tune in memory and the read position.
    mutable std::mutex mutex_;
    std::string file_name_;
    State state_ = State::kClosed;
    bool complete_ = false;
    bool audible_ = false;  // a silent tune keeps no samples
    int attempts_ = 0;
    int jumps_ = 0;
    int generation_ = 0;  // changes with every Open and Close
    int32_t length_ = 0;
    int64_t rendered_frames_ = 0;
    std::vector<int16_t> samples_;
    std::vector<int32_t> ticks_;  // the tick at the start of each block
    int64_t read_frame_ = 0;
    bool clock_ = false;
    std::chrono::steady_clock::time_point clock_start_;
};
