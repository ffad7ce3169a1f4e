// Writes rushtune.mid, the game's background music: our own 32-bar tune in
// A minor at 140 beats a minute (about 55 s), lead + bass + strings + drums,
// written so that its last bar leads straight back into its first.
//
//   build/<dir>/tools/make_music data
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kTicksPerBeat = 480;
constexpr int kEighth = kTicksPerBeat / 2;
constexpr int kBar = 8 * kEighth;
constexpr int kBeatsPerMinute = 140;

struct Note {
    int tick, length, channel, key, velocity;
};

// "E5", "G#4", "Bb3" -> MIDI key number (C4 = 60).
int KeyNumber(const std::string& name) {
    static const std::map<char, int> steps = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                              {'G', 7}, {'A', 9}, {'B', 11}};
    int key = steps.at(name[0]);
    size_t i = 1;
    if (name[i] == '#') ++key, ++i;
    if (name[i] == 'b') --key, ++i;
    return key + 12 * (std::stoi(name.substr(i)) + 1);
}

// A line written as "E5/1 A5/2 r/1 ..." (length in eighths, r = rest); bars
// are separated by '|' and each must hold exactly eight eighths.
void AddLine(std::vector<Note>& notes, int bar, const std::string& text, int channel, int velocity) {
    std::istringstream bars(text);
    std::string one_bar;
    while (std::getline(bars, one_bar, '|')) {
        std::istringstream tokens(one_bar);
        std::string token;
        int eighth = 0;
        while (tokens >> token) {
            const size_t slash = token.find('/');
            const int length = std::stoi(token.substr(slash + 1));
            const std::string pitch = token.substr(0, slash);
            if (pitch != "r") {
                // Slightly detached, and the first note of a bar a touch louder.
                notes.push_back({bar * kBar + eighth * kEighth, length * kEighth - 30, channel,
                                 KeyNumber(pitch), velocity + (eighth == 0 ? 8 : 0)});
            }
            eighth += length;
        }
        if (eighth != 8) {
            std::fprintf(stderr, "make_music: bar %d holds %d eighths\n", bar + 1, eighth);
            std::exit(1);
        }
        ++bar;
    }
}

// The harmony, one chord a bar, named by its root for the bass and its three
// tones for the strings.
struct Chord {
    const char* root;
    const char* tones[3];
};
const std::map<std::string, Chord> kChords = {
    {"Am", {"A2", {"A3", "C4", "E4"}}}, {"F", {"F2", {"F3", "A3", "C4"}}},
    {"C", {"C3", {"G3", "C4", "E4"}}},  {"G", {"G2", {"G3", "B3", "D4"}}},
    {"E", {"E2", {"G#3", "B3", "E4"}}}, {"Em", {"E2", {"G3", "B3", "E4"}}},
};

// The melody: section A twice with different endings, a brighter B, A again.
const char* const kVerse =
    "E5/1 A5/1 r/1 A5/1 G5/1 A5/1 C6/1 A5/1 | F5/2 A5/1 C6/1 r/1 C6/1 A5/2 |"
    "G5/1 E5/1 G5/1 C6/1 r/1 B5/1 C6/1 D6/1 | B5/3 G5/1 D5/2 G5/2 |"
    "E5/1 A5/1 r/1 A5/1 G5/1 A5/1 E6/1 D6/1 | C6/1 A5/1 F5/1 A5/1 C6/2 F6/2 |";
const char* const kVerseEndOpen = "E6/1 D6/1 B5/1 G5/1 D6/2 B5/2 | G#5/2 B5/1 E6/1 r/2 E5/2";
const char* const kVerseEndClosed = "B5/1 D6/1 G6/1 F6/1 E6/1 D6/1 B5/1 G5/1 | A5/4 r/2 E5/1 G5/1";
const char* const kVerseEndLoop = "E6/1 D6/1 B5/1 G5/1 D6/2 B5/2 | G#5/2 B5/1 E6/1 D6/1 C6/1 B5/1 G#5/1";
const char* const kBridge =
    "A5/2 C6/2 F6/3 E6/1 | D6/2 B5/2 G5/3 B5/1 | E6/2 G6/2 E6/1 D6/1 B5/2 | C6/3 A5/1 E5/2 A5/2 |"
    "F5/1 A5/1 C6/1 F6/1 E6/1 C6/1 A5/1 C6/1 | D6/1 B5/1 G5/1 B5/1 D6/1 G6/1 F6/1 D6/1 |"
    "E6/2 D6/1 C6/1 B5/2 G#5/2 | B5/4 r/2 E5/1 G#5/1";

const char* const kVerseChords[] = {"Am", "F", "C", "G", "Am", "F", "G", "E"};
const char* const kClosedChords[] = {"Am", "F", "C", "G", "Am", "F", "G", "Am"};
const char* const kBridgeChords[] = {"F", "G", "Em", "Am", "F", "G", "E", "E"};

constexpr int kMelody = 0, kBass = 1, kStrings = 2, kDrums = 9;

void AddHarmony(std::vector<Note>& notes, int first_bar, const char* const (&chords)[8]) {
    for (int i = 0; i < 8; ++i) {
        const Chord& chord = kChords.at(chords[i]);
        const int start = (first_bar + i) * kBar;
        const int root = KeyNumber(chord.root);
        // Driving eighths, jumping to the octave on the off-beats of beats 2 and 4.
        const int pattern[8] = {0, 0, 12, 0, 0, 0, 12, 7};
        for (int e = 0; e < 8; ++e)
            notes.push_back({start + e * kEighth, kEighth - 40, kBass, root + pattern[e], e % 2 ? 82 : 96});
        for (const char* tone : chord.tones)
            notes.push_back({start, kBar - 20, kStrings, KeyNumber(tone), 52});
    }
}

void AddDrums(std::vector<Note>& notes, int bars) {
    constexpr int kKick = 36, kSnare = 38, kClosedHat = 42, kOpenHat = 46, kCrash = 49;
    constexpr int kTomLow = 45, kTomMid = 47, kTomHigh = 50;
    for (int bar = 0; bar < bars; ++bar) {
        const int start = bar * kBar;
        const bool fill = bar % 8 == 7;
        if (bar % 8 == 0) notes.push_back({start, kBar / 2, kDrums, kCrash, 100});
        for (int e = 0; e < 8; ++e) {
            const int at = start + e * kEighth;
            if (fill && e >= 4) {
                const int toms[4] = {kTomHigh, kTomMid, kTomLow, kSnare};
                notes.push_back({at, kEighth / 2, kDrums, toms[e - 4], 100});
                notes.push_back({at + kEighth / 2, kEighth / 2, kDrums, toms[e - 4], 80});
                continue;
            }
            if (e == 0 || e == 4 || (e == 5 && bar % 2 == 1)) notes.push_back({at, 60, kDrums, kKick, 110});
            if (e == 2 || e == 6) notes.push_back({at, 60, kDrums, kSnare, 100});
            const bool open = e == 7 && bar % 4 == 3;
            notes.push_back({at, 60, kDrums, open ? kOpenHat : kClosedHat, e % 2 ? 55 : 75});
        }
    }
}

class TrackWriter {
public:
    void Meta(int tick, uint8_t type, std::vector<uint8_t> data) {
        Delta(tick);
        bytes_.insert(bytes_.end(), {0xFF, type, static_cast<uint8_t>(data.size())});
        bytes_.insert(bytes_.end(), data.begin(), data.end());
    }
    void Event(int tick, uint8_t status, uint8_t a, uint8_t b) {
        Delta(tick);
        bytes_.insert(bytes_.end(), {status, a, b});
    }
    void Program(uint8_t channel, uint8_t program) {
        Delta(0);
        bytes_.insert(bytes_.end(), {static_cast<uint8_t>(0xC0 | channel), program});
    }
    // Note-offs come before note-ons at the same tick so repeated keys retrigger.
    void Notes(std::vector<Note> notes) {
        struct Edge {
            int tick, on, channel, key, velocity;
        };
        std::vector<Edge> edges;
        for (const Note& n : notes) {
            edges.push_back({n.tick, 1, n.channel, n.key, n.velocity});
            edges.push_back({n.tick + n.length, 0, n.channel, n.key, 0});
        }
        std::stable_sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.on < b.on;
        });
        for (const Edge& e : edges)
            Event(e.tick, static_cast<uint8_t>((e.on ? 0x90 : 0x80) | e.channel), e.key, e.velocity);
    }
    void End(int tick) { Meta(tick, 0x2F, {}); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    void Delta(int tick) {
        uint32_t delta = static_cast<uint32_t>(tick - now_);
        now_ = tick;
        uint8_t buffer[4];
        int count = 0;
        buffer[count++] = delta & 0x7F;
        while (delta >>= 7) buffer[count++] = 0x80 | (delta & 0x7F);
        while (count) bytes_.push_back(buffer[--count]);
    }
    std::vector<uint8_t> bytes_;
    int now_ = 0;
};

void Put32(std::ofstream& out, uint32_t v) {
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.write(b, 4);
}
void Put16(std::ofstream& out, uint16_t v) {
    const char b[2] = {char(v >> 8), char(v)};
    out.write(b, 2);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = std::string(argc > 1 ? argv[1] : ".") + "/rushtune.mid";
    constexpr int kBars = 32;
    const int end = kBars * kBar;  // every track ends here, so the loop is seamless

    std::vector<Note> melody, accompaniment, drums;
    AddLine(melody, 0, std::string(kVerse) + kVerseEndOpen, kMelody, 96);
    AddLine(melody, 8, std::string(kVerse) + kVerseEndClosed, kMelody, 96);
    AddLine(melody, 16, kBridge, kMelody, 100);
    AddLine(melody, 24, std::string(kVerse) + kVerseEndLoop, kMelody, 96);
    AddHarmony(accompaniment, 0, kVerseChords);
    AddHarmony(accompaniment, 8, kClosedChords);
    AddHarmony(accompaniment, 16, kBridgeChords);
    AddHarmony(accompaniment, 24, kVerseChords);
    AddDrums(drums, kBars);

    std::vector<TrackWriter> tracks(4);
    const uint32_t microseconds_per_beat = 60'000'000 / kBeatsPerMinute;
    tracks[0].Meta(0, 0x51,
                   {uint8_t(microseconds_per_beat >> 16), uint8_t(microseconds_per_beat >> 8),
                    uint8_t(microseconds_per_beat)});
    tracks[0].Meta(0, 0x58, {4, 2, 24, 8});  // 4/4
    tracks[0].End(end);
    tracks[1].Program(kMelody, 80);  // square lead
    tracks[1].Notes(melody);
    tracks[1].End(end);
    tracks[2].Program(kBass, 38);     // synth bass
    tracks[2].Program(kStrings, 48);  // string ensemble
    tracks[2].Notes(accompaniment);
    tracks[2].End(end);
    tracks[3].Notes(drums);
    tracks[3].End(end);

    std::ofstream out(path, std::ios::binary);
    out.write("MThd", 4);
    Put32(out, 6);
    Put16(out, 1);  // format 1: tracks play together
    Put16(out, static_cast<uint16_t>(tracks.size()));
    Put16(out, kTicksPerBeat);
    for (const TrackWriter& track : tracks) {
        out.write("MTrk", 4);
        Put32(out, static_cast<uint32_t>(track.Bytes().size()));
        out.write(reinterpret_cast<const char*>(track.Bytes().data()), track.Bytes().size());
    }
    if (!out) {
        std::fprintf(stderr, "make_music: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
