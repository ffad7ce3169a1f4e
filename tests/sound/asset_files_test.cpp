// The committed sound and music files, read back with parsers of our own.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::string& name) {
    std::ifstream in(std::string(STONERUSH_DATA_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

uint32_t Little(const Bytes& b, size_t at, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = v << 8 | b.at(at + i);
    return v;
}
uint32_t Big(const Bytes& b, size_t at, int size) {
    uint32_t v = 0;
    for (int i = 0; i < size; ++i) v = v << 8 | b.at(at + i);
    return v;
}
bool Tag(const Bytes& b, size_t at, const char* tag) {
    return b.size() >= at + 4 && std::memcmp(b.data() + at, tag, 4) == 0;
}

struct Wave {
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;  // interleaved
    double Seconds() const { return double(samples.size()) / channels / rate; }
};

// Walks the RIFF chunks; fails the test on anything a player would choke on.
Wave ParseWave(const Bytes& b) {
    Wave wave;
    EXPECT_TRUE(Tag(b, 0, "RIFF") && Tag(b, 8, "WAVE"));
    EXPECT_EQ(Little(b, 4, 4), b.size() - 8);
    for (size_t at = 12; at + 8 <= b.size();) {
        const uint32_t size = Little(b, at + 4, 4);
        EXPECT_LE(at + 8 + size, b.size());
        if (Tag(b, at, "fmt ")) {
            EXPECT_EQ(Little(b, at + 8, 2), 1u) << "not plain PCM";
            wave.channels = int(Little(b, at + 10, 2));
            wave.rate = int(Little(b, at + 12, 4));
            wave.bits = int(Little(b, at + 22, 2));
            EXPECT_EQ(Little(b, at + 16, 4), uint32_t(wave.rate * wave.channels * 2)) << "byte rate";
            EXPECT_EQ(Little(b, at + 20, 2), uint32_t(wave.channels * 2)) << "block align";
        } else if (Tag(b, at, "data")) {
            for (size_t i = 0; i + 1 < size; i += 2)
                wave.samples.push_back(int16_t(Little(b, at + 8 + i, 2)));
        }
        at += 8 + size + (size & 1);
    }
    return wave;
}

struct WaveCase {
    const char* name;
    double min_sound_seconds, max_sound_seconds;
};

class WaveFileTest : public ::testing::TestWithParam<WaveCase> {};

TEST_P(WaveFileTest, IsPlainPcmWithSoundAndASilentTail) {
    const Bytes bytes = ReadFile(GetParam().name);
    ASSERT_FALSE(bytes.empty()) << GetParam().name << " is missing";
    const Wave wave = ParseWave(bytes);
    EXPECT_EQ(wave.bits, 16);
    EXPECT_TRUE(wave.channels == 1 || wave.channels == 2);
    EXPECT_TRUE(wave.rate == 44100 || wave.rate == 22050);
    ASSERT_FALSE(wave.samples.empty());

    size_t last_loud = 0;
    int loudest = 0;
    for (size_t i = 0; i < wave.samples.size(); ++i) {
        const int level = std::abs(int(wave.samples[i]));
        loudest = std::max(loudest, level);
        if (level > 3) last_loud = i;
    }
    const double sound = double(last_loud + 1) / wave.channels / wave.rate;
    EXPECT_GT(loudest, 16000) << "too quiet";
    EXPECT_LT(loudest, 32700) << "clipped";
    EXPECT_GE(sound, GetParam().min_sound_seconds);
    EXPECT_LE(sound, GetParam().max_sound_seconds);
    // The player drops the last 100-170 ms, so at least 250 ms must be silence.
    EXPECT_GE(wave.Seconds() - sound, 0.25);
    EXPECT_LE(wave.Seconds() - sound, 0.5);
}

INSTANTIATE_TEST_SUITE_P(SoundFiles, WaveFileTest,
                         ::testing::Values(WaveCase{"line.wav", 0.25, 0.6}, WaveCase{"quad.wav", 0.5, 1.2},
                                           WaveCase{"gameover.wav", 0.8, 1.6}),
                         [](const auto& info) { return std::string(info.param.name).substr(0, 4); });

// Reads a variable-length quantity at `at`, moving `at` past it.
uint32_t ReadVarLen(const Bytes& b, size_t& at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        const uint8_t byte = b.at(at++);
        v = v << 7 | (byte & 0x7F);
        if (!(byte & 0x80)) return v;
    }
    ADD_FAILURE() << "variable-length number longer than 4 bytes";
    return v;
}

struct Track {
    uint32_t end_tick = 0;
    bool ended = false;
    std::set<int> note_channels, program_channels;
    std::vector<std::pair<uint32_t, uint32_t>> tempos;  // tick, microseconds per beat
};

Track ParseTrack(const Bytes& b, size_t at, size_t end) {
    Track track;
    uint32_t tick = 0;
    uint8_t running = 0;
    while (at < end && !track.ended) {
        tick += ReadVarLen(b, at);
        uint8_t status = b.at(at);
        if (status & 0x80)
            ++at;
        else
            status = running;  // running status
        if (status == 0xFF) {
            const uint8_t type = b.at(at++);
            const uint32_t length = ReadVarLen(b, at);
            if (type == 0x51) track.tempos.emplace_back(tick, Big(b, at, 3));
            if (type == 0x2F) track.ended = true;
            at += length;
        } else if (status == 0xF0 || status == 0xF7) {
            at += ReadVarLen(b, at);
        } else {
            EXPECT_TRUE(status & 0x80) << "data byte without a status";
            running = status;
            const int kind = status >> 4, channel = status & 0x0F;
            if (kind == 0x9 && b.at(at + 1) > 0) track.note_channels.insert(channel);
            if (kind == 0xC) track.program_channels.insert(channel);
            at += (kind == 0xC || kind == 0xD) ? 1 : 2;
        }
    }
    EXPECT_EQ(at, end) << "events run past or stop short of the track's end";
    track.end_tick = tick;
    return track;
}

TEST(MusicFile, IsAFormatOneMidiFileOfFortyToNinetySecondsThatLoopsCleanly) {
    const Bytes b = ReadFile("rushtune.mid");
    ASSERT_TRUE(Tag(b, 0, "MThd"));
    ASSERT_EQ(Big(b, 4, 4), 6u);
    EXPECT_EQ(Big(b, 8, 2), 1u);
    const uint32_t track_count = Big(b, 10, 2);
    const uint32_t ticks_per_beat = Big(b, 12, 2);
    ASSERT_GE(track_count, 3u);
    ASSERT_LT(ticks_per_beat, 0x8000u) << "must count ticks per beat, not SMPTE frames";

    std::vector<Track> tracks;
    size_t at = 14;
    for (uint32_t i = 0; i < track_count; ++i) {
        ASSERT_TRUE(Tag(b, at, "MTrk")) << "track " << i;
        const size_t end = at + 8 + Big(b, at + 4, 4);
        ASSERT_LE(end, b.size());
        tracks.push_back(ParseTrack(b, at + 8, end));
        EXPECT_TRUE(tracks.back().ended) << "track " << i << " has no end-of-track";
        at = end;
    }
    EXPECT_EQ(at, b.size());

    std::set<int> note_channels, program_channels;
    uint32_t length = 0;
    for (const Track& t : tracks) {
        note_channels.insert(t.note_channels.begin(), t.note_channels.end());
        program_channels.insert(t.program_channels.begin(), t.program_channels.end());
        length = std::max(length, t.end_tick);
    }
    // Every track ends on the same tick, so the loop has no gap or cut.
    for (const Track& t : tracks) EXPECT_EQ(t.end_tick, length);
    EXPECT_TRUE(note_channels.count(9)) << "no drums";
    EXPECT_GE(note_channels.size(), 3u);
    for (int channel : note_channels) {
        if (channel != 9) {
            EXPECT_TRUE(program_channels.count(channel)) << "channel " << channel << " has no program";
        }
    }

    // Seconds, from the tempo map of the first track (120 beats a minute until set).
    ASSERT_FALSE(tracks[0].tempos.empty());
    double seconds = 0, tempo = 500000;
    uint32_t from = 0;
    for (auto [tick, micros] : tracks[0].tempos) {
        seconds += double(tick - from) / ticks_per_beat * tempo / 1e6;
        from = tick;
        tempo = micros;
    }
    seconds += double(length - from) / ticks_per_beat * tempo / 1e6;
    EXPECT_GE(seconds, 40.0);
    EXPECT_LE(seconds, 90.0);
    EXPECT_NEAR(60e6 / tempo, 140, 15) << "beats a minute";
}

}  // namespace
