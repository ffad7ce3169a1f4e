// The music itself, without any audio device. open() prepares the tune, which
// is then rendered once, whole, by FluidSynth into memory (renderAhead(), on
// whatever thread plays it, the first seconds first); the synthesiser and
// soundfont are freed as soon as it is done. The commands then only move a
// read position over the samples, and a table from sample position to MIDI
// tick gives the length and position in ticks.
//
// The tune loops by itself: where its last tick is reached the read position
// goes back to the start, and the notes still ringing there ring on over the
// start of the next pass, so nothing is cut and no gap is heard.
//
// Whatever pulls the frames (a sound card, a test) sets the pace: the position
// is the number of frames read. With no audio device a clock sets it instead
// (useClock()). Safe to call from two threads: one renders and reads frames,
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
#include <vector>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;

namespace stonerush {

// The General MIDI soundfont to use, or "" when none is installed (the music
// is then silent, but it still runs its course).
std::string defaultSoundfontPath();

class MusicRenderer {
public:
    static constexpr int sampleRate = 22050;
    static constexpr int channels = 2;
    // Frames per entry of the tick table, and per check of the guard.
    static constexpr int blockFrames = 256;

    // An empty or unreadable soundfont gives silent music.
    explicit MusicRenderer(std::string soundfontFile);
    virtual ~MusicRenderer();
    MusicRenderer(const MusicRenderer&) = delete;
    MusicRenderer& operator=(const MusicRenderer&) = delete;

    // Prepares the tune, stopped at its start. A missing or broken file gives
    // a tune with no length that never sounds nor moves.
    void open(std::string midiFile);
    // From where the tune stands; nothing when it plays or nothing is open.
    void play();
    // Holds playing music where it is; nothing otherwise.
    void pause();
    // Goes on from where pause() held it; nothing when not paused.
    void resume();
    // Stops and goes back to the start.
    void rewind();
    // Forgets the tune; only open() brings one back.
    void close();

    // Renders the next stretch of the tune into memory; false once it is all
    // there (or nothing is open). render() also calls it when it runs short.
    bool renderAhead();

    // In MIDI ticks. The length is 0 until the start of the file has been
    // rendered, and stays 0 for a missing or broken file. The position stays
    // below the length: where it would reach it, the tune starts again.
    int32_t length() const;
    int32_t position() const;

    bool isPlaying() const;
    // Counts open() and rewind(): moves of the position that are not playing on.
    int jumps() const;

    // Fills frames × 2 interleaved samples from the read position and moves it
    // on while playing; silence when not playing (or past the end of a tune
    // whose last tick never came).
    void render(int16_t* out, int frames);

    // Moves the read position back by frames that were read but never heard
    // (they were still queued at the sound server when it stopped).
    void unread(int64_t frames);

    // With no audio device: from now on the position follows the wall clock
    // while the music plays.
    void useClock();

protected:
    // One block of interleaved float frames from the synthesiser; a test
    // breaks it on purpose.
    virtual void synthesise(fluid_synth_t* synth, float* out, int frames);

private:
    enum class State { Closed, Stopped, Playing, Paused };
    struct Step;

    void forget(State next, std::string midiFile);
    void startSynthesiser();  // under m_synthMutex
    void freeSynthesiser();   // under m_synthMutex
    Step synthesiseStep(int64_t done);
    bool blockIsBroken() const;
    void replaceBrokenSynthesiser();
    bool keepStep(const Step& step);
    void finishTune();                                             // under m_mutex
    int64_t readFrame() const;                                     // under m_mutex
    void setReadFrame(int64_t frame);                              // under m_mutex
    const int16_t* framesAt(int64_t frame, int64_t& count) const;  // under m_mutex

    const std::string m_soundfontFile;

    // The synthesiser side: only renderAhead() uses it.
    std::mutex m_synthMutex;
    fluid_settings_t* m_settings = nullptr;
    fluid_synth_t* m_synth = nullptr;
    fluid_player_t* m_player = nullptr;
    std::vector<float> m_block;
    std::vector<int16_t> m_stepSamples;
    std::vector<int32_t> m_stepTicks;
    int64_t m_endFrame = -1;  // where the last tick was reached

    // The tune in memory and the read position.
    mutable std::mutex m_mutex;
    std::string m_midiFile;
    State m_state = State::Closed;
    bool m_complete = false;
    bool m_audible = false;  // a silent tune keeps no samples
    int m_attempts = 0;
    int m_jumps = 0;
    int32_t m_length = 0;
    int64_t m_renderedFrames = 0;
    int64_t m_loopFrame = 0;           // where the tune starts again; 0 until known
    std::vector<int16_t> m_samples;    // up to the loop frame once it is known
    std::vector<int16_t> m_wrapStart;  // the start with the end's last notes ringing over it
    std::vector<int32_t> m_ticks;      // the tick at the start of each block
    int64_t m_readFrame = 0;
    bool m_looped = false;  // since the last open() or rewind()
    bool m_clock = false;
    std::chrono::steady_clock::time_point m_clockStart;
};

}  // namespace stonerush
