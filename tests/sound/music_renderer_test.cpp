// The music words as the game sends them, against the real FluidSynth
// rendering offline, and the guard against a broken synthesiser.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/sound/music_renderer.h"

namespace {

const std::string kTune = STONERUSH_DATA_DIR "/rushtune.mid";
const std::string kSoundfont = DefaultSoundfontPath();
constexpr int kTicksPerSecond = 140 * 480 / 60;  // the tune's tempo and resolution
constexpr int kTuneSeconds = 55;

// Plays that many seconds and returns the loudest sample.
int Loudest(MusicRenderer& music, double seconds) {
    std::vector<int16_t> buffer(size_t(seconds * MusicRenderer::kSampleRate) * MusicRenderer::kChannels);
    music.Render(buffer.data(), int(buffer.size() / MusicRenderer::kChannels));
    int loudest = 0;
    for (int16_t s : buffer) loudest = std::max(loudest, std::abs(int(s)));
    return loudest;
}

// Every table row is known by its name, in test names and in messages.
template <typename Row, typename = decltype(Row::name)>
std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << row.name;
}

// After "Open": words, and numbers of seconds played. The last stretch played
// is heard or silent, and the position is then `at` seconds into the tune
// (-1: at or past its end, where the loop handler sends "Next" and "Play").
// Without a soundfont the tune is silent but runs its course, so the loop
// still works; without a readable tune it never moves; the game runs on.
struct Script {
    const char* name;
    std::vector<std::string> steps;
    bool heard;
    double at;
    std::string soundfont = kSoundfont, tune = kTune;
};
const std::vector<std::string> kEveryWord = {"Play", "2", "Pause", "Pause", "Stop", "Next", "Play", "1"};

class MusicWords : public ::testing::TestWithParam<Script> {};

TEST_P(MusicWords, AsTheGameSendsThem) {
    if (GetParam().heard && kSoundfont.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    MusicRenderer music(GetParam().soundfont);
    music.SetFileName(GetParam().tune);
    music.Command("Open");
    int loudest = 0;
    for (const std::string& step : GetParam().steps) {
        if (std::isdigit(step[0]))
            loudest = Loudest(music, std::stod(step));
        else
            music.Command(step);
    }
    EXPECT_TRUE(GetParam().heard ? loudest > 1000 : loudest <= 4) << loudest;  // (dither: a sample or so)
    if (GetParam().at >= 0) {
        EXPECT_NEAR(music.Position(), GetParam().at * kTicksPerSecond, kTicksPerSecond / 5);
    } else {
        EXPECT_NEAR(music.Length(), kTuneSeconds * kTicksPerSecond, 2 * kTicksPerSecond);
        EXPECT_GE(music.Position(), music.Length());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, MusicWords,
    ::testing::Values(Script{"OpenIsSilent", {"1"}, false, 0}, Script{"PlayStarts", {"Play", "2"}, true, 2},
                      Script{"PauseHolds", {"Play", "2", "Pause", "1"}, false, 2},
                      Script{"PauseAgainResumes", {"Play", "2", "Pause", "1", "Pause", "1"}, true, 3},
                      Script{"StopPlayCarriesOn", {"Play", "2", "Stop", "1", "Play", "1"}, true, 3},
                      Script{"StopNextPlayStartsOver", {"Play", "3", "Stop", "Next", "Play", "1"}, true, 1},
                      Script{"PositionReachesLength", {"Play", "58"}, true, -1},
                      Script{"NextPlayAtTheEndLoops", {"Play", "70", "Next", "Play", "1"}, true, 1},
                      Script{"CloseEndsIt", {"Play", "1", "Close", "Play", "Pause", "Next", "1"}, false, 0},
                      Script{"WordsAreCaseSensitive", {"play", "PLAY", "1"}, false, 0},
                      Script{"NoSoundfont", kEveryWord, false, 1, ""},
                      Script{"NoSoundfontReachesTheEnd", {"Play", "58"}, false, -1, ""},
                      Script{"MissingSoundfont", kEveryWord, false, 1, "/nonexistent/none.sf2"},
                      Script{"NotASoundfont", kEveryWord, false, 1, kTune},
                      Script{"MissingTune", kEveryWord, false, 0, kSoundfont, "/nonexistent/rushtune.mid"},
                      Script{"NotATune", kEveryWord, false, 0, kSoundfont, STONERUSH_DATA_DIR "/line.wav"}),
    ::testing::PrintToStringParamName());

// FluidSynth's reverb may start broken (NaN on every sample). A render with a
// sample that is not finite or at full scale is done again with a new
// synthesiser; one that never recovers gives silence. Nothing broken is heard.
struct Broken {
    const char* name;
    float value;
    int block;  // which block of the first synthesiser breaks; -1: every block of every one
    int synthesisers;
    bool heard;
};

class BreakingRenderer : public MusicRenderer {
public:
    explicit BreakingRenderer(Broken broken) : MusicRenderer(kSoundfont), broken(broken) {}
    Broken broken;
    int blocks = 0, synthesisers = 0;
    fluid_synth_t* last = nullptr;

protected:
    void Synthesise(fluid_synth_t* synth, float* out, int frames) override {
        MusicRenderer::Synthesise(synth, out, frames);
        if (synth != last) ++synthesisers, last = synth;
        if (broken.block < 0 || blocks++ == broken.block) std::fill(out, out + 2 * frames, broken.value);
    }
};

class MusicGuard : public ::testing::TestWithParam<Broken> {};

TEST_P(MusicGuard, ABrokenRenderIsDoneAgainAndNeverHeard) {
    if (kSoundfont.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    BreakingRenderer music(GetParam());
    music.SetFileName(kTune);
    music.Command("Open");
    music.Command("Play");
    const int loudest = Loudest(music, 60.0);
    EXPECT_EQ(music.synthesisers, GetParam().synthesisers);
    EXPECT_TRUE(GetParam().heard ? loudest > 8000 && loudest < 32000 : loudest == 0) << loudest;
    EXPECT_NEAR(music.Length(), kTuneSeconds * kTicksPerSecond, 2 * kTicksPerSecond);
}

INSTANTIATE_TEST_SUITE_P(Blocks, MusicGuard,
                         ::testing::Values(Broken{"NanFromTheStart", NAN, 0, 2, true},
                                           Broken{"InfinityLater", INFINITY, 1500, 2, true},
                                           Broken{"FullScale", -1.0f, 3000, 2, true},
                                           Broken{"AlwaysBroken", NAN, -1, 8, false}),
                         ::testing::PrintToStringParamName());

}  // namespace
