// The tune rendered by FluidSynth into memory, a step at a time, with the
// guard against a broken synthesiser.
#include <fluidsynth.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/sound/music_renderer.h"

namespace stonerush {

namespace {

// FluidSynth's default gain of 0.2 leaves the tune's peaks near -14 dBFS;
// 0.5 brings its loudest moments to about -6 dBFS.
constexpr double gain = 0.5;

// A step is about a second (a few milliseconds of work), so play() finds the
// start ready and close() never waits long.
constexpr int blocksPerStep = MusicRenderer::sampleRate / MusicRenderer::blockFrames;
// The last notes ring out for at most this long after the last tick.
constexpr int64_t tailFrames = 2 * MusicRenderer::sampleRate;
// Nothing longer than this is kept (a file whose end never comes).
constexpr int64_t longestFrames = int64_t(600) * MusicRenderer::sampleRate;
// After this many broken renderings the broken blocks become silence.
constexpr int maxAttempts = 8;

void silenceFluidSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

bool isSoundfont(const std::string& path) {
    return !path.empty() && fluid_is_soundfont(path.c_str());
}

}  // namespace

// What one step rendered (its samples and ticks wait in m_stepSamples and
// m_stepTicks).
struct MusicRenderer::Step {
    int64_t done = 0;  // frames rendered in all, this step included
    int32_t total = 0;
    bool finished = false;
    bool broken = false;
    bool audible = false;
};

std::string defaultSoundfontPath() {
    for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2"}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) return path;
    }
    return {};
}

MusicRenderer::MusicRenderer(std::string soundfontFile) : m_soundfontFile(std::move(soundfontFile)) {
    silenceFluidSynthLog();
    m_stepSamples.reserve(size_t(blocksPerStep) * blockFrames * channels);
    m_stepTicks.reserve(blocksPerStep);
}

void MusicRenderer::startSynthesiser() {
    std::string file;
    {
        std::lock_guard lock(m_mutex);
        file = m_midiFile;
        ++m_attempts;
    }
    m_settings = new_fluid_settings();
    fluid_settings_setnum(m_settings, "synth.sample-rate", sampleRate);
    fluid_settings_setnum(m_settings, "synth.gain", gain);
    fluid_settings_setint(m_settings, "synth.polyphony", 64);
    // Chorus costs about a third of the rendering and the tune does not miss
    // it; the reverb stays, it gives the tune its room.
    fluid_settings_setint(m_settings, "synth.chorus.active", 0);
    m_synth = new_fluid_synth(m_settings);
    if (isSoundfont(m_soundfontFile)) fluid_synth_sfload(m_synth, m_soundfontFile.c_str(), 1);
    m_player = new_fluid_player(m_synth);
    // A missing or broken file is only found out at play time, and then the
    // player simply stops: the tune has no length and no sound.
    fluid_player_add(m_player, file.c_str());
    fluid_player_play(m_player);
    m_block.resize(size_t(blockFrames) * channels);
    m_endFrame = -1;
}

void MusicRenderer::freeSynthesiser() {
    if (m_player) delete_fluid_player(m_player);
    if (m_synth) delete_fluid_synth(m_synth);
    if (m_settings) delete_fluid_settings(m_settings);
    m_player = nullptr;
    m_synth = nullptr;
    m_settings = nullptr;
    m_block = {};
}

void MusicRenderer::synthesise(fluid_synth_t* synth, float* out, int frames) {
    fluid_synth_write_float(synth, frames, out, 0, channels, out, 1, channels);
}

bool MusicRenderer::renderAhead() {
    std::lock_guard synthLock(m_synthMutex);
    int64_t done = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_state == State::Closed || m_complete) return false;
        done = m_renderedFrames;
    }
    if (!m_synth) startSynthesiser();
    const Step step = synthesiseStep(done);
    if (step.broken) {
        replaceBrokenSynthesiser();
        return true;
    }
    if (step.finished) freeSynthesiser();
    return keepStep(step);
}

// The guard: a sample that is not finite or at full scale means a broken
// synthesiser, never music.
bool MusicRenderer::blockIsBroken() const {
    return std::any_of(m_block.begin(), m_block.end(),
                       [](float s) { return !std::isfinite(s) || std::fabs(s) >= 1.0f; });
}

MusicRenderer::Step MusicRenderer::synthesiseStep(int64_t done) {
    m_stepSamples.clear();
    m_stepTicks.clear();
    Step step{done};
    for (int b = 0; b < blocksPerStep && !step.finished; ++b) {
        const int32_t tick = fluid_player_get_current_tick(m_player);
        synthesise(m_synth, m_block.data(), blockFrames);
        const bool broken = blockIsBroken();
        if (broken && m_attempts < maxAttempts) {
            step.broken = true;
            break;
        }
        for (float s : m_block) {
            const int16_t sample = broken ? 0 : int16_t(std::lrint(s * 32767.0f));
            step.audible |= sample != 0;
            m_stepSamples.push_back(sample);
        }
        m_stepTicks.push_back(tick);
        step.total = fluid_player_get_total_ticks(m_player);
        // The loop starts again with the first block that begins at the last tick.
        if (step.total > 0 && tick >= step.total && m_endFrame < 0) m_endFrame = step.done;
        step.done += blockFrames;
        step.finished =
            fluid_player_get_status(m_player) != FLUID_PLAYER_PLAYING || step.done >= longestFrames ||
            (m_endFrame >= 0 &&
             (fluid_synth_get_active_voice_count(m_synth) == 0 || step.done - m_endFrame >= tailFrames));
    }
    return step;
}

// Starts again from the first frame with a new synthesiser, made before the
// broken one is freed: one made in the same memory breaks far more often.
void MusicRenderer::replaceBrokenSynthesiser() {
    fluid_settings_t* settings = m_settings;
    fluid_synth_t* synth = m_synth;
    fluid_player_t* player = m_player;
    startSynthesiser();
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    std::lock_guard lock(m_mutex);
    m_samples = {};
    m_ticks = {};
    m_renderedFrames = 0;
    m_audible = false;
}

bool MusicRenderer::keepStep(const Step& step) {
    std::lock_guard lock(m_mutex);
    if (step.total > 0) m_length = step.total;
    m_audible |= step.audible;
    // A silent tune (no soundfont, or no device to hear it) keeps only its ticks.
    if (m_audible && !m_clock) {
        if (m_samples.empty()) m_samples.reserve(size_t(60) * sampleRate * channels);
        m_samples.insert(m_samples.end(), m_stepSamples.begin(), m_stepSamples.end());
    } else {
        m_samples = {};
    }
    m_ticks.insert(m_ticks.end(), m_stepTicks.begin(), m_stepTicks.end());
    m_renderedFrames = step.done;
    m_complete = step.finished;
    if (step.finished) {
        m_loopFrame = std::max<int64_t>(m_endFrame, 0);
        finishTune();
    }
    return !step.finished;
}

// What rings on after the loop's end is laid over its start (and over itself
// again for a tune shorter than its ring-out), for the passes after the first.
void MusicRenderer::finishTune() {
    if (m_loopFrame > 0) {
        const size_t loopValues = size_t(m_loopFrame) * channels;
        if (m_samples.size() > loopValues) {
            m_wrapStart.assign(m_samples.begin(),
                               m_samples.begin() + std::min(m_samples.size() - loopValues, loopValues));
            for (size_t i = loopValues; i < m_samples.size(); ++i) {
                int16_t& sample = m_wrapStart[(i - loopValues) % loopValues];
                sample = int16_t(std::clamp(sample + m_samples[i], -32768, 32767));
            }
            m_samples.resize(loopValues);
        }
        m_readFrame %= m_loopFrame;
    }
    m_samples.shrink_to_fit();
    malloc_trim(0);  // hand the synthesiser's and soundfont's memory back
}

}  // namespace stonerush
