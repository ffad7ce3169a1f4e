// The music calls as the game makes them, against the real FluidSynth rendering offline; the loop at the
// tune's end; the guard against a broken synthesiser.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/sound/music_renderer.h"

namespace stonerush {
namespace {

const std::string tune = STONERUSH_DATA_DIR "/rushtune.mid", soundfont = defaultSoundfontPath();
constexpr int ticksPerSecond = 140 * 480 / 60;  // the tune's tempo and resolution
constexpr int tuneSeconds = 55, rate = MusicRenderer::sampleRate;
const auto byName = [](const auto& info) { return std::string(info.param.name); };

// Plays that many seconds and returns the loudest sample.
int loudest(MusicRenderer& music, double seconds) {
    std::vector<int16_t> buffer(size_t(seconds * rate) * MusicRenderer::channels);
    music.render(buffer.data(), int(buffer.size() / MusicRenderer::channels));
    const auto level = [](int16_t sample) { return std::abs(int(sample)); };
    return level(std::ranges::max(buffer, {}, level));
}

// After open(): calls, and numbers of seconds played. The last stretch played
// is heard or silent, and the position is then `at` seconds of play into the
// tune, which starts again at its end. Without a soundfont the tune is silent
// but runs its course and loops; without a readable tune it never moves; the
// game runs on.
struct Script {
    const char* name;
    std::vector<std::string> steps;
    bool heard;
    double at;
    std::string soundfont = stonerush::soundfont, tune = stonerush::tune;
};
const std::string callNames[] = {"play", "pause", "resume", "rewind", "close"};
void (MusicRenderer::*const calls[])() = {&MusicRenderer::play, &MusicRenderer::pause, &MusicRenderer::resume,
                                          &MusicRenderer::rewind, &MusicRenderer::close};
const std::vector<std::string> everyCall = {"play", "2", "pause", "resume", "rewind", "play", "58"};

class MusicCalls : public ::testing::TestWithParam<Script> {};
TEST_P(MusicCalls, AsTheGameMakesThem) {
    if (GetParam().heard && soundfont.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    MusicRenderer music(GetParam().soundfont);
    music.open(GetParam().tune);
    int peak = 0;
    for (const std::string& step : GetParam().steps)
        if (std::isdigit(step[0]))
            peak = loudest(music, std::stod(step));
        else
            (music.*calls[std::ranges::find(callNames, step) - callNames])();
    EXPECT_TRUE(GetParam().heard ? peak > 1000 : peak <= 4) << peak;  // (dither: a sample or so)
    const double ticks = GetParam().at * ticksPerSecond;
    EXPECT_NEAR(music.position(), music.length() > 0 ? std::fmod(ticks, music.length()) : ticks,
                ticksPerSecond / 5);
}
INSTANTIATE_TEST_SUITE_P(
    Scripts, MusicCalls,
    ::testing::Values(
        Script{"OpenIsSilent", {"1"}, false, 0}, Script{"PlaysOnPastItsEnd", {"play", "58"}, true, 58},
        Script{"PauseHoldsEvenTwice", {"play", "2", "pause", "pause", "1"}, false, 2},
        Script{"ResumeGoesOn", {"play", "2", "pause", "1", "resume", "1"}, true, 3},
        Script{"PlayAfterPauseGoesOnEvenTwice", {"play", "2", "pause", "play", "play", "1"}, true, 3},
        Script{"RewindStopsAndOnlyPlayStarts", {"play", "3", "rewind", "resume", "1", "play", "1"}, true, 1},
        Script{"CloseEndsIt", {"play", "1", "close", "play", "resume", "rewind", "1"}, false, 0},
        Script{"NoSoundfontButItLoops", everyCall, false, 58, ""},
        Script{"NotASoundfont", everyCall, false, 58, tune},
        Script{"NotATune", everyCall, false, 0, soundfont, STONERUSH_DATA_DIR "/line.wav"}),
    byName);

// Where the last tick is reached the tune starts again, read on as the sound
// card reads it: the position goes back, never having reached the length, and
// the sound goes on without a gap, the last notes ringing on over the start.
TEST(MusicLoop, StartsAgainAtTheLastTickWithoutAGap) {
    if (soundfont.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    MusicRenderer music(soundfont);
    music.open(tune);
    music.play();
    constexpr int block = MusicRenderer::blockFrames;
    std::vector<int16_t> frames(size_t(tuneSeconds + 3) * rate / block * block * 2);
    std::vector<int32_t> positions;
    for (size_t at = 0; at < frames.size(); at += 2 * block)
        positions.push_back(music.position()), music.render(&frames[at], block);
    const auto left = [&](int frame) { return int(frames[2 * size_t(frame)]); };
    EXPECT_LT(*std::max_element(positions.begin(), positions.end()), music.length());
    const auto wrap = std::adjacent_find(positions.begin(), positions.end(), std::greater<>());
    ASSERT_NE(wrap, positions.end()) << "the position never went back";
    const int wrapFrame = int(wrap - positions.begin() + 1) * block;
    EXPECT_NEAR(double(wrapFrame) / rate, double(music.length()) / ticksPerSecond, 0.05);
    int after = 0, ending = 0, ringing = 0;  // the sound goes on; what rang at the end rings on
    for (int i = 0; i < rate / 4; ++i) {
        after = std::max(after, std::abs(left(wrapFrame + i)));
        ringing = std::max(ringing, std::abs(left(wrapFrame + i) - left(i)));
        if (i < rate / 100) ending = std::max(ending, std::abs(left(wrapFrame - 1 - i)));
    }
    EXPECT_GT(after, 1000);
    EXPECT_GT(ringing, ending / 2) << ending;
    music.unread(4 * rate);  // never heard: back over the loop's start to the end of the pass before
    EXPECT_NEAR(music.position(), (tuneSeconds + 3 - 4) * ticksPerSecond, ticksPerSecond / 10);
}

// FluidSynth's reverb may start broken (NaN on every sample). A render with a
// sample that is not finite or at full scale is done again with a new
// synthesiser; one that never recovers gives silence. Nothing broken is heard.
struct Broken {
    const char* name;
    float value;
    int block;  // which block of the first synthesiser breaks; -1: every block of every one
    int synthesisers;
};
struct BreakingRenderer : MusicRenderer {
    explicit BreakingRenderer(Broken broken) : MusicRenderer(soundfont), broken(broken) {}
    void synthesise(fluid_synth_t* synth, float* out, int frames) override {
        MusicRenderer::synthesise(synth, out, frames);
        if (synth != last) ++synthesisers, last = synth;
        if (broken.block < 0 || blocks++ == broken.block) std::fill(out, out + 2 * frames, broken.value);
    }
    Broken broken;
    int blocks = 0, synthesisers = 0;
    fluid_synth_t* last = nullptr;
};

class MusicGuard : public ::testing::TestWithParam<Broken> {};
TEST_P(MusicGuard, ABrokenRenderIsDoneAgainAndNeverHeard) {
    if (soundfont.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    BreakingRenderer music(GetParam());
    music.open(tune);
    music.play();
    const int peak = loudest(music, 60.0);
    EXPECT_EQ(music.synthesisers, GetParam().synthesisers);
    EXPECT_TRUE(GetParam().block >= 0 ? peak > 8000 && peak < 32000 : peak == 0) << peak;
    EXPECT_NEAR(music.length(), tuneSeconds * ticksPerSecond, 2 * ticksPerSecond);
}
INSTANTIATE_TEST_SUITE_P(Blocks, MusicGuard,
                         ::testing::Values(Broken{"NanFromTheStart", NAN, 0, 2},
                                           Broken{"InfinityLater", INFINITY, 1500, 2},
                                           Broken{"FullScale", -1.0f, 3000, 2},
                                           Broken{"AlwaysBroken", NAN, -1, 8}),
                         byName);

}  // namespace
}  // namespace stonerush
