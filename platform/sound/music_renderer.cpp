// The commands and the read position over the rendered tune; the rendering
// itself is in music_synthesis.cpp.
#include <algorithm>
#include <cstring>

#include "platform/sound/music_renderer.h"

namespace stonerush {

namespace {
// The read position never needs more catching up than the longest ring-out
// after the last tick, so the loop's end is known before it is read.
constexpr int64_t catchUpMargin = 2 * MusicRenderer::sampleRate;
}  // namespace

MusicRenderer::~MusicRenderer() {
    close();
}

void MusicRenderer::open(std::string midiFile) {
    forget(State::Stopped, std::move(midiFile));
}

void MusicRenderer::close() {
    forget(State::Closed, {});
}

void MusicRenderer::play() {
    std::lock_guard lock(m_mutex);
    if (m_state == State::Closed || m_state == State::Playing) return;
    setReadFrame(m_readFrame);
    m_state = State::Playing;
}

void MusicRenderer::pause() {
    std::lock_guard lock(m_mutex);
    if (m_state != State::Playing) return;
    setReadFrame(readFrame());
    m_state = State::Paused;
}

void MusicRenderer::resume() {
    std::lock_guard lock(m_mutex);
    if (m_state != State::Paused) return;
    setReadFrame(m_readFrame);  // carries on where it stopped
    m_state = State::Playing;
}

void MusicRenderer::rewind() {
    std::lock_guard lock(m_mutex);
    if (m_state == State::Closed) return;
    setReadFrame(0);
    m_looped = false;  // a fresh start: nothing rings over it
    m_state = State::Stopped;
    ++m_jumps;
}

// Drops the synthesiser and every rendered sample; a read position held by the
// output counts as moved.
void MusicRenderer::forget(State next, std::string midiFile) {
    std::lock_guard synthLock(m_synthMutex);
    freeSynthesiser();
    std::lock_guard lock(m_mutex);
    m_midiFile = std::move(midiFile);
    m_samples = {};
    m_wrapStart = {};
    m_ticks = {};
    m_renderedFrames = 0;
    m_loopFrame = 0;
    m_readFrame = 0;
    m_looped = false;
    m_length = 0;
    m_complete = false;
    m_audible = false;
    m_attempts = 0;
    ++m_jumps;
    m_state = next;
}

int64_t MusicRenderer::readFrame() const {
    if (!m_clock || m_state != State::Playing) return m_readFrame;
    const auto elapsed = std::chrono::steady_clock::now() - m_clockStart;
    const int64_t frame =
        m_readFrame +
        std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * sampleRate / 1000000;
    return m_loopFrame > 0 ? frame % m_loopFrame : frame;
}

void MusicRenderer::setReadFrame(int64_t frame) {
    m_readFrame = frame;
    m_clockStart = std::chrono::steady_clock::now();
}

void MusicRenderer::unread(int64_t frames) {
    std::lock_guard lock(m_mutex);
    m_readFrame -= frames;
    // Frames read before the loop's start belong to the end of the pass before.
    if (m_loopFrame > 0 && m_looped) m_readFrame = (m_readFrame % m_loopFrame + m_loopFrame) % m_loopFrame;
    m_readFrame = std::max<int64_t>(0, m_readFrame);
}

void MusicRenderer::useClock() {
    std::lock_guard lock(m_mutex);
    if (m_clock) return;
    m_clock = true;
    m_clockStart = std::chrono::steady_clock::now();
    m_samples = {};
    m_wrapStart = {};
}

int32_t MusicRenderer::length() const {
    std::lock_guard lock(m_mutex);
    return m_length;
}

int32_t MusicRenderer::position() const {
    std::lock_guard lock(m_mutex);
    if (m_state == State::Closed || m_ticks.empty()) return 0;
    const size_t block = size_t(readFrame() / blockFrames);
    return block < m_ticks.size() ? m_ticks[block] : m_ticks.back();
}

bool MusicRenderer::isPlaying() const {
    std::lock_guard lock(m_mutex);
    return m_state == State::Playing;
}

int MusicRenderer::jumps() const {
    std::lock_guard lock(m_mutex);
    return m_jumps;
}

void MusicRenderer::render(int16_t* out, int frames) {
    std::unique_lock lock(m_mutex);
    // Should the reader ever be ahead of the rendering, it catches up here.
    while (m_state == State::Playing && !m_clock && !m_complete &&
           m_readFrame + frames + catchUpMargin > m_renderedFrames) {
        lock.unlock();
        renderAhead();
        lock.lock();
    }
    if (m_state != State::Playing || m_clock) {
        std::memset(out, 0, sizeof(int16_t) * size_t(frames) * channels);
        return;
    }
    while (frames > 0) {
        int64_t count = frames;
        const int16_t* from = framesAt(m_readFrame, count);
        if (m_loopFrame > 0) count = std::min(count, m_loopFrame - m_readFrame);
        const size_t values = size_t(count) * channels;
        if (from)
            std::memcpy(out, from, sizeof(int16_t) * values);
        else
            std::memset(out, 0, sizeof(int16_t) * values);
        out += values;
        frames -= int(count);
        m_readFrame += count;
        if (m_readFrame == m_loopFrame) {
            m_readFrame = 0;
            m_looped = true;
        }
    }
}

// The samples heard from frame on, and how many of them (at most count) lie
// together there: a later pass starts with the last notes of the pass before
// ringing over it. Past the samples kept: nullptr, silence.
const int16_t* MusicRenderer::framesAt(int64_t frame, int64_t& count) const {
    const int64_t ringing = m_looped ? int64_t(m_wrapStart.size() / channels) : 0;
    const int64_t kept = int64_t(m_samples.size() / channels);
    if (frame < ringing) {
        count = std::min(count, ringing - frame);
        return m_wrapStart.data() + frame * channels;
    }
    if (frame < kept) {
        count = std::min(count, kept - frame);
        return m_samples.data() + frame * channels;
    }
    return nullptr;
}

}  // namespace stonerush
