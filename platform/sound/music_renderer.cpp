#include "platform/sound/music_renderer.h"

#include <fluidsynth.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

// FluidSynth's default gain of 0.2 leaves the tune's peaks near -14 dBFS;
// 0.5 brings its loudest moments to about -6 dBFS.
constexpr double kGain = 0.5;

// RenderAhead() does about a second at a time (a few milliseconds of work),
// so "Play" finds the start ready and "Close" never waits long.
constexpr int kBlocksPerStep = MusicRenderer::kSampleRate / MusicRenderer::kBlockFrames;
// The last notes ring out for at most this long after the last tick.
constexpr int64_t kTailFrames = 2 * MusicRenderer::kSampleRate;
// Nothing longer than this is kept (a file whose end never comes).
constexpr int64_t kLongestFrames = int64_t(600) * MusicRenderer::kSampleRate;
// After this many broken renderings the broken blocks become silence.
constexpr int kMaxAttempts = 8;

void SilenceFluidSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

bool IsSoundfont(const std::string& path) {
    return !path.empty() && fluid_is_soundfont(path.c_str());
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
}

void MusicRenderer::Command(std::string_view word) {
    if (word == "Open") return Open();
    if (word == "Close") return Close();

    std::lock_guard lock(mutex_);
    if (state_ == State::kClosed) return;
    if (word == "Play") {
        if (state_ == State::kPlaying) return;
        SetReadFrame(read_frame_);
        state_ = State::kPlaying;
    } else if (word == "Pause") {
        if (state_ == State::kPlaying) {
            SetReadFrame(ReadFrame());
            state_ = State::kPaused;
        } else if (state_ == State::kPaused) {
            SetReadFrame(read_frame_);  // carries on where it stopped
            state_ = State::kPlaying;
        }
    } else if (word == "Stop") {
        SetReadFrame(ReadFrame());
        state_ = State::kStopped;
    } else if (word == "Next") {
        SetReadFrame(0);
        ++jumps_;
    }
}

void MusicRenderer::Open() {
    Forget(State::kStopped);
}
void MusicRenderer::Close() {
    Forget(State::kClosed);
}

// Drops the synthesiser and every rendered sample; a read position held by the
// output counts as moved.
void MusicRenderer::Forget(State next) {
    std::lock_guard synth_lock(synth_mutex_);
    FreeSynthesiser();
    std::lock_guard lock(mutex_);
    samples_ = {};
    ticks_ = {};
    rendered_frames_ = 0;
    read_frame_ = 0;
    length_ = 0;
    complete_ = false;
    audible_ = false;
    attempts_ = 0;
    ++jumps_;
    state_ = next;
}

void MusicRenderer::StartSynthesiser() {
    std::string file;
    {
        std::lock_guard lock(mutex_);
        file = file_name_;
        ++attempts_;
    }
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", kSampleRate);
    fluid_settings_setnum(settings_, "synth.gain", kGain);
    fluid_settings_setint(settings_, "synth.polyphony", 64);
    // Chorus costs about a third of the rendering and the tune does not miss
    // it; the reverb stays, it gives the tune its room.
    fluid_settings_setint(settings_, "synth.chorus.active", 0);
    synth_ = new_fluid_synth(settings_);
    if (IsSoundfont(soundfont_path_)) fluid_synth_sfload(synth_, soundfont_path_.c_str(), 1);
    player_ = new_fluid_player(synth_);
    // A missing or broken file is only found out at play time, and then the
    // player simply stops: the tune has no length and no sound.
    fluid_player_add(player_, file.c_str());
    fluid_player_play(player_);
    block_.resize(size_t(kBlockFrames) * kChannels);
    end_frame_ = -1;
}

void MusicRenderer::FreeSynthesiser() {
    if (player_) delete_fluid_player(player_);
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
    player_ = nullptr;
    synth_ = nullptr;
    settings_ = nullptr;
    block_ = {};
}

void MusicRenderer::Synthesise(fluid_synth_t* synth, float* out, int frames) {
    fluid_synth_write_float(synth, frames, out, 0, kChannels, out, 1, kChannels);
}

bool MusicRenderer::RenderAhead() {
    std::lock_guard synth_lock(synth_mutex_);
    int64_t done = 0;
    {
        std::lock_guard lock(mutex_);
        if (state_ == State::kClosed || complete_) return false;
        done = rendered_frames_;
    }
    if (!synth_) StartSynthesiser();

    std::vector<int16_t> pcm;
    pcm.reserve(size_t(kBlocksPerStep) * kBlockFrames * kChannels);
    std::vector<int32_t> ticks;
    bool finished = false;
    bool broken = false;
    bool audible = false;
    int32_t total = 0;
    for (int b = 0; b < kBlocksPerStep && !finished; ++b) {
        const int32_t tick = fluid_player_get_current_tick(player_);
        Synthesise(synth_, block_.data(), kBlockFrames);
        // The guard: a sample that is not finite or at full scale means a
        // broken synthesiser, never music.
        bool bad = false;
        for (float s : block_) bad |= !std::isfinite(s) || std::fabs(s) >= 1.0f;
        if (bad && attempts_ < kMaxAttempts) {
            broken = true;
            break;
        }
        for (float s : block_) {
            const int16_t sample = bad ? 0 : int16_t(std::lrint(s * 32767.0f));
            audible |= sample != 0;
            pcm.push_back(sample);
        }
        ticks.push_back(tick);
        total = fluid_player_get_total_ticks(player_);
        done += kBlockFrames;
        if (total > 0 && tick >= total && end_frame_ < 0) end_frame_ = done;
        finished = fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING || done >= kLongestFrames ||
                   (end_frame_ >= 0 &&
                    (fluid_synth_get_active_voice_count(synth_) == 0 || done - end_frame_ >= kTailFrames));
    }

    if (broken) {
        // Start again from the first frame with a new synthesiser, made
        // before the broken one is freed: one made in the same memory breaks
        // far more often.
        fluid_settings_t* settings = settings_;
        fluid_synth_t* synth = synth_;
        fluid_player_t* player = player_;
        StartSynthesiser();
        delete_fluid_player(player);
        delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        std::lock_guard lock(mutex_);
        samples_ = {};
        ticks_ = {};
        rendered_frames_ = 0;
        audible_ = false;
        return true;
    }
    if (finished) FreeSynthesiser();

    std::lock_guard lock(mutex_);
    if (total > 0) length_ = total;
    audible_ |= audible;
    // A silent tune (no soundfont, or no device to hear it) keeps only its ticks.
    if (audible_ && !clock_) {
        if (samples_.empty()) samples_.reserve(size_t(60) * kSampleRate * kChannels);
        samples_.insert(samples_.end(), pcm.begin(), pcm.end());
    } else {
        samples_ = {};
    }
    ticks_.insert(ticks_.end(), ticks.begin(), ticks.end());
    rendered_frames_ = done;
    complete_ = finished;
    if (finished) {
        samples_.shrink_to_fit();
        malloc_trim(0);  // hand the synthesiser's and soundfont's memory back
    }
    return !finished;
}

int64_t MusicRenderer::ReadFrame() const {
    if (!clock_ || state_ != State::kPlaying) return read_frame_;
    const auto elapsed = std::chrono::steady_clock::now() - clock_start_;
    return read_frame_ +
           std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * kSampleRate / 1000000;
}

void MusicRenderer::SetReadFrame(int64_t frame) {
    read_frame_ = frame;
    clock_start_ = std::chrono::steady_clock::now();
}

void MusicRenderer::Unread(int64_t frames) {
    std::lock_guard lock(mutex_);
    read_frame_ = std::max<int64_t>(0, read_frame_ - frames);
}

void MusicRenderer::UseClock() {
    std::lock_guard lock(mutex_);
    if (clock_) return;
    clock_ = true;
    clock_start_ = std::chrono::steady_clock::now();
    samples_ = {};
}

int32_t MusicRenderer::Length() const {
    std::lock_guard lock(mutex_);
    return length_;
}

int32_t MusicRenderer::Position() const {
    std::lock_guard lock(mutex_);
    if (state_ == State::kClosed || ticks_.empty()) return 0;
    const size_t block = size_t(ReadFrame() / kBlockFrames);
    return block < ticks_.size() ? ticks_[block] : ticks_.back();
}

bool MusicRenderer::IsPlaying() const {
    std::lock_guard lock(mutex_);
    return state_ == State::kPlaying;
}

int MusicRenderer::Jumps() const {
    std::lock_guard lock(mutex_);
    return jumps_;
}

void MusicRenderer::Render(int16_t* out, int frames) {
    std::unique_lock lock(mutex_);
    // Should the reader ever be ahead of the rendering, it catches up here.
    while (state_ == State::kPlaying && !clock_ && !complete_ && read_frame_ + frames > rendered_frames_) {
        lock.unlock();
        RenderAhead();
        lock.lock();
    }
    if (state_ != State::kPlaying || clock_) {
        std::memset(out, 0, sizeof(int16_t) * size_t(frames) * kChannels);
        return;
    }
    const int64_t kept = int64_t(samples_.size() / kChannels);
    const int64_t from = std::min(read_frame_, kept);
    const int64_t count = std::min<int64_t>(frames, kept - from);
    if (count > 0)
        std::memcpy(out, samples_.data() + from * kChannels, sizeof(int16_t) * size_t(count) * kChannels);
    std::memset(out + count * kChannels, 0, sizeof(int16_t) * size_t(frames - count) * kChannels);
    read_frame_ += frames;
}
