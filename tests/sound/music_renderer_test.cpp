// The command words against the real FluidSynth player, rendered offline.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/sound/music_renderer.h"

namespace {

const std::string kTune = STONERUSH_DATA_DIR "/rushtune.mid";
constexpr int kTicksPerSecond = 140 * 480 / 60;  // the tune's tempo and resolution
constexpr int kSilence = 4;                      // the synthesiser dithers its output by a sample or so

// Renders that many seconds and returns the loudest sample.
int RenderSeconds(MusicRenderer& music, double seconds) {
    std::vector<int16_t> buffer(size_t(seconds * MusicRenderer::kSampleRate) * MusicRenderer::kChannels);
    music.Render(buffer.data(), int(buffer.size() / MusicRenderer::kChannels));
    int loudest = 0;
    for (int16_t s : buffer) loudest = std::max(loudest, std::abs(int(s)));
    return loudest;
}

class MusicRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (DefaultSoundfontPath().empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
        music.SetFileName(kTune);
        music.Command("Open");
    }
    MusicRenderer music{DefaultSoundfontPath()};
};

TEST_F(MusicRendererTest, OpenIsSilentUntilPlayThenAudible) {
    EXPECT_TRUE(music.IsOpen());
    EXPECT_FALSE(music.IsPlaying());
    EXPECT_LE(RenderSeconds(music, 0.5), kSilence);
    EXPECT_EQ(music.Position(), 0);

    music.Command("Play");
    EXPECT_GT(RenderSeconds(music, 2.0), 4000);  // well above -18 dBFS
    EXPECT_TRUE(music.IsPlaying());
    EXPECT_GT(music.Length(), 40 * kTicksPerSecond);
    EXPECT_NEAR(music.Position(), 2 * kTicksPerSecond, kTicksPerSecond / 5);
}

TEST_F(MusicRendererTest, PauseHoldsThePositionAndPauseAgainResumesThere) {
    music.Command("Play");
    RenderSeconds(music, 2.0);
    music.Command("Pause");
    EXPECT_FALSE(music.IsPlaying());
    const int held = music.Position();
    RenderSeconds(music, 1.0);  // the last notes fade
    EXPECT_EQ(music.Position(), held);
    EXPECT_LT(RenderSeconds(music, 1.0), 300);

    music.Command("Pause");
    EXPECT_TRUE(music.IsPlaying());
    EXPECT_GT(RenderSeconds(music, 1.0), 4000);
    EXPECT_NEAR(music.Position(), held + kTicksPerSecond, kTicksPerSecond / 5);
}

TEST_F(MusicRendererTest, StopThenPlayContinuesButStopNextPlayStartsOver) {
    music.Command("Play");
    RenderSeconds(music, 3.0);
    music.Command("Stop");
    const int stopped_at = music.Position();
    RenderSeconds(music, 0.5);
    EXPECT_EQ(music.Position(), stopped_at);
    music.Command("Play");
    RenderSeconds(music, 0.5);
    EXPECT_GT(music.Position(), stopped_at);

    music.Command("Stop");
    music.Command("Next");
    music.Command("Play");
    EXPECT_GT(RenderSeconds(music, 0.5), 1000);
    EXPECT_LT(music.Position(), kTicksPerSecond);
}

TEST_F(MusicRendererTest, ReachesItsEndAndNextPlayLoopsToTheStart) {
    music.Command("Play");
    double seconds = 0;
    while (music.Length() == 0 || music.Position() < music.Length()) {
        RenderSeconds(music, 0.25);
        seconds += 0.25;
        ASSERT_LT(seconds, 120) << "the music never reached its end";
    }
    EXPECT_GE(seconds, 40);
    EXPECT_LE(seconds, 90.25);

    const int length = music.Length();
    music.Command("Next");
    music.Command("Play");
    EXPECT_GT(RenderSeconds(music, 0.5), 1000);
    EXPECT_LT(music.Position(), kTicksPerSecond);
    EXPECT_EQ(music.Length(), length);  // the length is known again at once
}

TEST_F(MusicRendererTest, NextAfterRunningOffTheEndStillPlays) {
    music.Command("Play");
    RenderSeconds(music, 70.0);  // past the end and the ringing-out of the last notes
    music.Command("Next");
    music.Command("Play");
    EXPECT_GT(RenderSeconds(music, 1.0), 1000);
}

TEST_F(MusicRendererTest, CloseSilencesAndIgnoresFurtherWordsUntilOpen) {
    music.Command("Play");
    RenderSeconds(music, 1.0);
    music.Command("Close");
    EXPECT_FALSE(music.IsOpen());
    for (const char* word : {"Play", "Pause", "Stop", "Next", "play", "Rewind"}) music.Command(word);
    EXPECT_LE(RenderSeconds(music, 0.5), kSilence);
    EXPECT_EQ(music.Position(), 0);

    music.Command("Open");
    music.Command("Play");
    EXPECT_GT(RenderSeconds(music, 1.0), 1000);
}

// FluidSynth's reverb may start broken (NaN on every sample). A rendering with
// a sample that is not finite or at full scale is done again with a new
// synthesiser; one that stays broken gives silence. Nothing broken is heard,
// and the whole tune is loud but never clips.
struct BrokenBlocks {
    float value;
    int block;  // which block of the first synthesiser breaks; -1: every block of every one
    int attempts;
    bool audible;
};

class BreakingRenderer : public MusicRenderer {
public:
    explicit BreakingRenderer(BrokenBlocks broken) : MusicRenderer(DefaultSoundfontPath()), broken_(broken) {}

protected:
    void Synthesise(fluid_synth_t* synth, float* out, int frames) override {
        MusicRenderer::Synthesise(synth, out, frames);
        if (broken_.block < 0 || blocks_++ == broken_.block) std::fill(out, out + 2 * frames, broken_.value);
    }

private:
    BrokenBlocks broken_;
    int blocks_ = 0;
};

class MusicRendererGuard : public ::testing::TestWithParam<BrokenBlocks> {};

TEST_P(MusicRendererGuard, BrokenRenderingIsDoneAgainAndNeverHeard) {
    if (DefaultSoundfontPath().empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    BreakingRenderer music(GetParam());
    music.SetFileName(kTune);
    music.Command("Open");
    while (music.RenderAhead()) {
    }
    EXPECT_EQ(music.Attempts(), GetParam().attempts);
    EXPECT_GT(music.Length(), 40 * kTicksPerSecond);
    music.Command("Play");
    const int loudest = RenderSeconds(music, 60.0);
    EXPECT_LT(loudest, 32000);
    if (GetParam().audible)
        EXPECT_GT(loudest, 8000);
    else
        EXPECT_EQ(loudest, 0);
}

INSTANTIATE_TEST_SUITE_P(Blocks, MusicRendererGuard,
                         ::testing::Values(BrokenBlocks{NAN, 0, 2, true},
                                           BrokenBlocks{INFINITY, 1500, 2, true},
                                           BrokenBlocks{-1.0f, 3000, 2, true},
                                           BrokenBlocks{NAN, -1, 8, false}));

// Broken or missing things: everything keeps working, and stays silent.
void ExpectSilentButUnbroken(MusicRenderer& music) {
    music.Command("Open");
    music.Command("Play");
    EXPECT_LE(RenderSeconds(music, 2.0), kSilence);
    for (const char* word : {"Pause", "Pause", "Stop", "Next", "Play"}) music.Command(word);
    EXPECT_LE(RenderSeconds(music, 0.5), kSilence);
    music.Command("Close");
}

TEST(MusicRendererFailures, MissingMidiFileIsSilentAndHasNoLength) {
    MusicRenderer music(DefaultSoundfontPath());
    music.SetFileName("/nonexistent/rushtune.mid");
    music.Command("Open");
    music.Command("Play");
    RenderSeconds(music, 1.0);
    EXPECT_EQ(music.Length(), 0);
    ExpectSilentButUnbroken(music);
}

TEST(MusicRendererFailures, BrokenMidiFileIsSilent) {
    const auto path = std::filesystem::temp_directory_path() / "stonerush_broken.mid";
    std::ofstream(path) << "MThd this is not music at all";
    MusicRenderer music(DefaultSoundfontPath());
    music.SetFileName(path.string());
    ExpectSilentButUnbroken(music);
    std::filesystem::remove(path);
}

TEST(MusicRendererFailures, NoSoundfontIsSilentButTheMusicStillRunsItsCourse) {
    for (const std::string& soundfont : {std::string(), std::string("/nonexistent/none.sf2"), kTune}) {
        MusicRenderer music(soundfont);
        music.SetFileName(kTune);
        music.Command("Open");
        EXPECT_FALSE(music.HasSoundfont());
        music.Command("Play");
        EXPECT_LE(RenderSeconds(music, 2.0), kSilence);
        EXPECT_GT(music.Length(), 0);  // so the loop still works
        EXPECT_GT(music.Position(), kTicksPerSecond);
        ExpectSilentButUnbroken(music);
    }
}

}  // namespace
