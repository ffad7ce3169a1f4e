#include "platform/sound/music_renderer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

// FluidSynth's default gain of 0.2 leaves the tune's peaks near -14 dBFS;
// 0.5 brings its loudest moments to about -6 dBFS.
constexpr double kGain = 0.5;

// Render in small slices so the command side never waits long for the lock.
constexpr int kSliceFrames = 256;

void SilenceFluidSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

}  // namespace

std::string DefaultSoundfontPath() {
    for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2"}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) return path;
    }
    return {};
}

MusicRenderer::MusicRenderer(std::string soundfont_path) : soundfont_path_(std::move(soundfont_path)) {
    SilenceFluidSynthLog();
}

MusicRenderer::~MusicRenderer() {
    Close();
}

void MusicRenderer::SetFileName(std::string path) {
    std::lock_guard lock(mutex_);
    file_name_ = std::move(path);
    known_length_ = 0;
}

void MusicRenderer::Command(std::string_view word) {
    if (word == "Open") return Open();
    if (word == "Close") return Close();

    std::lock_guard lock(mutex_);
    if (state_ == State::kClosed) return;
    if (word == "Play") {
        if (state_ == State::kPlaying) return;
        fluid_player_play(player_);
        state_ = State::kPlaying;
    } else if (word == "Pause") {
        if (state_ == State::kPlaying) {
            Halt();
            state_ = State::kPaused;
        } else if (state_ == State::kPaused) {
            fluid_player_play(player_);  // carries on from the tick where it stopped
            state_ = State::kPlaying;
        }
    } else if (word == "Stop") {
        if (state_ == State::kPlaying || state_ == State::kPaused) Halt();
        state_ = State::kStopped;
    } else if (word == "Next") {
        // A fresh player starts at tick 0 and can be played again even after
        // the old one has run off the end of its file.
        const bool was_playing = state_ == State::kPlaying;
        if (was_playing) Halt();
        NewPlayer();
        if (was_playing) fluid_player_play(player_);
    }
}

void MusicRenderer::Open() {
    Close();
    std::lock_guard lock(mutex_);
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", kSampleRate);
    fluid_settings_setnum(settings_, "synth.gain", kGain);
    fluid_settings_setint(settings_, "synth.polyphony", 64);
    // Chorus costs about a third of the rendering and the tune does not miss
    // it; the reverb stays, it gives the tune its room.
    fluid_settings_setint(settings_, "synth.chorus.active", 0);
    synth_ = new_fluid_synth(settings_);
    has_soundfont_ = !soundfont_path_.empty() && fluid_is_soundfont(soundfont_path_.c_str()) &&
                     fluid_synth_sfload(synth_, soundfont_path_.c_str(), 1) != FLUID_FAILED;
    known_length_ = 0;
    NewPlayer();
    state_ = State::kStopped;
}

void MusicRenderer::Close() {
    std::lock_guard lock(mutex_);
    if (player_) delete_fluid_player(player_);
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
    player_ = nullptr;
    synth_ = nullptr;
    settings_ = nullptr;
    has_soundfont_ = false;
    state_ = State::kClosed;
}

void MusicRenderer::NewPlayer() {
    if (player_) delete_fluid_player(player_);
    player_ = new_fluid_player(synth_);
    // A missing or broken file is only found out at play time, and then the
    // player simply stays silent.
    fluid_player_add(player_, file_name_.c_str());
}

void MusicRenderer::Halt() {
    fluid_player_stop(player_);
    fluid_synth_all_notes_off(synth_, -1);
}

int32_t MusicRenderer::Length() const {
    std::lock_guard lock(mutex_);
    if (player_) known_length_ = std::max(known_length_, fluid_player_get_total_ticks(player_));
    return known_length_;
}

int32_t MusicRenderer::Position() const {
    std::lock_guard lock(mutex_);
    return player_ ? fluid_player_get_current_tick(player_) : 0;
}

bool MusicRenderer::IsOpen() const {
    std::lock_guard lock(mutex_);
    return state_ != State::kClosed;
}

bool MusicRenderer::IsPlaying() const {
    std::lock_guard lock(mutex_);
    return state_ == State::kPlaying;
}

bool MusicRenderer::HasSoundfont() const {
    std::lock_guard lock(mutex_);
    return has_soundfont_;
}

void MusicRenderer::Render(int16_t* out, int frames) {
    while (frames > 0) {
        const int slice = std::min(frames, kSliceFrames);
        {
            std::lock_guard lock(mutex_);
            // Paused or stopped with every note died away: nothing to
            // synthesise, so a paused game costs the music thread next to nothing.
            const bool silent =
                !synth_ || (state_ != State::kPlaying && fluid_synth_get_active_voice_count(synth_) == 0);
            if (silent)
                std::memset(out, 0, sizeof(int16_t) * slice * kChannels);
            else
                fluid_synth_write_s16(synth_, slice, out, 0, kChannels, out, 1, kChannels);
        }
        out += slice * kChannels;
        frames -= slice;
    }
}
