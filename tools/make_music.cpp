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

namespace stonerush {
namespace {

constexpr int ticksPerBeat = 480;
constexpr int ticksPerEighth = ticksPerBeat / 2;
constexpr int ticksPerBar = 8 * ticksPerEighth;
constexpr int beatsPerMinute = 140;

struct Note {
    int tick, length, channel, key, velocity;
};

// "E5", "G#4", "Bb3" -> MIDI key number (C4 = 60).
int keyNumber(const std::string& name) {
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
void addLine(std::vector<Note>& notes, int bar, const std::string& text, int channel, int velocity) {
    std::istringstream bars(text);
    std::string oneBar;
    while (std::getline(bars, oneBar, '|')) {
        std::istringstream tokens(oneBar);
        std::string token;
        int eighth = 0;
        while (tokens >> token) {
            const size_t slash = token.find('/');
            const int length = std::stoi(token.substr(slash + 1));
            const std::string pitch = token.substr(0, slash);
            if (pitch != "r") {
                // Slightly detached, and the first note of a bar a touch louder.
                notes.push_back({bar * ticksPerBar + eighth * ticksPerEighth, length * ticksPerEighth - 30,
                                 channel, keyNumber(pitch), velocity + (eighth == 0 ? 8 : 0)});
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
const std::map<std::string, Chord> chordsByName = {
    {"Am", {"A2", {"A3", "C4", "E4"}}}, {"F", {"F2", {"F3", "A3", "C4"}}},
    {"C", {"C3", {"G3", "C4", "E4"}}},  {"G", {"G2", {"G3", "B3", "D4"}}},
    {"E", {"E2", {"G#3", "B3", "E4"}}}, {"Em", {"E2", {"G3", "B3", "E4"}}},
};

// The melody: section A twice with different endings, a brighter B, A again.
const char* const verse =
    "E5/1 A5/1 r/1 A5/1 G5/1 A5/1 C6/1 A5/1 | F5/2 A5/1 C6/1 r/1 C6/1 A5/2 |"
    "G5/1 E5/1 G5/1 C6/1 r/1 B5/1 C6/1 D6/1 | B5/3 G5/1 D5/2 G5/2 |"
    "E5/1 A5/1 r/1 A5/1 G5/1 A5/1 E6/1 D6/1 | C6/1 A5/1 F5/1 A5/1 C6/2 F6/2 |";
const char* const verseEndOpen = "E6/1 D6/1 B5/1 G5/1 D6/2 B5/2 | G#5/2 B5/1 E6/1 r/2 E5/2";
const char* const verseEndClosed = "B5/1 D6/1 G6/1 F6/1 E6/1 D6/1 B5/1 G5/1 | A5/4 r/2 E5/1 G5/1";
const char* const verseEndLoop = "E6/1 D6/1 B5/1 G5/1 D6/2 B5/2 | G#5/2 B5/1 E6/1 D6/1 C6/1 B5/1 G#5/1";
const char* const bridge =
    "A5/2 C6/2 F6/3 E6/1 | D6/2 B5/2 G5/3 B5/1 | E6/2 G6/2 E6/1 D6/1 B5/2 | C6/3 A5/1 E5/2 A5/2 |"
    "F5/1 A5/1 C6/1 F6/1 E6/1 C6/1 A5/1 C6/1 | D6/1 B5/1 G5/1 B5/1 D6/1 G6/1 F6/1 D6/1 |"
    "E6/2 D6/1 C6/1 B5/2 G#5/2 | B5/4 r/2 E5/1 G#5/1";

const char* const verseChords[] = {"Am", "F", "C", "G", "Am", "F", "G", "E"};
const char* const closedChords[] = {"Am", "F", "C", "G", "Am", "F", "G", "Am"};
const char* const bridgeChords[] = {"F", "G", "Em", "Am", "F", "G", "E", "E"};

constexpr int melodyChannel = 0, bassChannel = 1, stringsChannel = 2, drumChannel = 9;

void addHarmony(std::vector<Note>& notes, int firstBar, const char* const (&chords)[8]) {
    for (int i = 0; i < 8; ++i) {
        const Chord& chord = chordsByName.at(chords[i]);
        const int start = (firstBar + i) * ticksPerBar;
        const int root = keyNumber(chord.root);
        // Driving eighths, jumping to the octave on the off-beats of beats 2 and 4.
        const int pattern[8] = {0, 0, 12, 0, 0, 0, 12, 7};
        for (int e = 0; e < 8; ++e)
            notes.push_back({start + e * ticksPerEighth, ticksPerEighth - 40, bassChannel, root + pattern[e],
                             e % 2 ? 82 : 96});
        for (const char* tone : chord.tones)
            notes.push_back({start, ticksPerBar - 20, stringsChannel, keyNumber(tone), 52});
    }
}

void addDrums(std::vector<Note>& notes, int bars) {
    constexpr int kick = 36, snare = 38, closedHat = 42, openHat = 46, crash = 49;
    constexpr int tomLow = 45, tomMid = 47, tomHigh = 50;
    for (int bar = 0; bar < bars; ++bar) {
        const int start = bar * ticksPerBar;
        const bool fill = bar % 8 == 7;
        if (bar % 8 == 0) notes.push_back({start, ticksPerBar / 2, drumChannel, crash, 100});
        for (int e = 0; e < 8; ++e) {
            const int at = start + e * ticksPerEighth;
            if (fill && e >= 4) {
                const int toms[4] = {tomHigh, tomMid, tomLow, snare};
                notes.push_back({at, ticksPerEighth / 2, drumChannel, toms[e - 4], 100});
                notes.push_back({at + ticksPerEighth / 2, ticksPerEighth / 2, drumChannel, toms[e - 4], 80});
                continue;
            }
            if (e == 0 || e == 4 || (e == 5 && bar % 2 == 1))
                notes.push_back({at, 60, drumChannel, kick, 110});
            if (e == 2 || e == 6) notes.push_back({at, 60, drumChannel, snare, 100});
            const bool open = e == 7 && bar % 4 == 3;
            notes.push_back({at, 60, drumChannel, open ? openHat : closedHat, e % 2 ? 55 : 75});
        }
    }
}

class TrackWriter {
public:
    void writeMeta(int tick, uint8_t type, std::vector<uint8_t> data) {
        writeDelta(tick);
        m_bytes.insert(m_bytes.end(), {0xFF, type, static_cast<uint8_t>(data.size())});
        m_bytes.insert(m_bytes.end(), data.begin(), data.end());
    }
    void writeEvent(int tick, uint8_t status, uint8_t a, uint8_t b) {
        writeDelta(tick);
        m_bytes.insert(m_bytes.end(), {status, a, b});
    }
    void writeProgram(uint8_t channel, uint8_t program) {
        writeDelta(0);
        m_bytes.insert(m_bytes.end(), {static_cast<uint8_t>(0xC0 | channel), program});
    }
    // Note-offs come before note-ons at the same tick so repeated keys retrigger.
    void writeNotes(std::vector<Note> notes) {
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
            writeEvent(e.tick, static_cast<uint8_t>((e.on ? 0x90 : 0x80) | e.channel), e.key, e.velocity);
    }
    void writeEnd(int tick) { writeMeta(tick, 0x2F, {}); }
    const std::vector<uint8_t>& bytes() const { return m_bytes; }

private:
    void writeDelta(int tick) {
        uint32_t delta = static_cast<uint32_t>(tick - m_now);
        m_now = tick;
        uint8_t buffer[4];
        int count = 0;
        buffer[count++] = delta & 0x7F;
        while (delta >>= 7) buffer[count++] = 0x80 | (delta & 0x7F);
        while (count) m_bytes.push_back(buffer[--count]);
    }
    std::vector<uint8_t> m_bytes;
    int m_now = 0;
};

void put32(std::ofstream& out, uint32_t v) {
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.write(b, 4);
}
void put16(std::ofstream& out, uint16_t v) {
    const char b[2] = {char(v >> 8), char(v)};
    out.write(b, 2);
}

}  // namespace
}  // namespace stonerush

int main(int argc, char** argv) {
    using namespace stonerush;
    const std::string path = std::string(argc > 1 ? argv[1] : ".") + "/rushtune.mid";
    constexpr int bars = 32;
    const int end = bars * ticksPerBar;  // every track ends here, so the loop is seamless

    std::vector<Note> melody, accompaniment, drums;
    addLine(melody, 0, std::string(verse) + verseEndOpen, melodyChannel, 96);
    addLine(melody, 8, std::string(verse) + verseEndClosed, melodyChannel, 96);
    addLine(melody, 16, bridge, melodyChannel, 100);
    addLine(melody, 24, std::string(verse) + verseEndLoop, melodyChannel, 96);
    addHarmony(accompaniment, 0, verseChords);
    addHarmony(accompaniment, 8, closedChords);
    addHarmony(accompaniment, 16, bridgeChords);
    addHarmony(accompaniment, 24, verseChords);
    addDrums(drums, bars);

    std::vector<TrackWriter> tracks(4);
    const uint32_t microsecondsPerBeat = 60'000'000 / beatsPerMinute;
    tracks[0].writeMeta(0, 0x51,
                        {uint8_t(microsecondsPerBeat >> 16), uint8_t(microsecondsPerBeat >> 8),
                         uint8_t(microsecondsPerBeat)});
    tracks[0].writeMeta(0, 0x58, {4, 2, 24, 8});  // 4/4
    tracks[0].writeEnd(end);
    tracks[1].writeProgram(melodyChannel, 80);  // square lead
    tracks[1].writeNotes(melody);
    tracks[1].writeEnd(end);
    tracks[2].writeProgram(bassChannel, 38);     // synth bass
    tracks[2].writeProgram(stringsChannel, 48);  // string ensemble
    tracks[2].writeNotes(accompaniment);
    tracks[2].writeEnd(end);
    tracks[3].writeNotes(drums);
    tracks[3].writeEnd(end);

    std::ofstream out(path, std::ios::binary);
    out.write("MThd", 4);
    put32(out, 6);
    put16(out, 1);  // format 1: tracks play together
    put16(out, static_cast<uint16_t>(tracks.size()));
    put16(out, ticksPerBeat);
    for (const TrackWriter& track : tracks) {
        out.write("MTrk", 4);
        put32(out, static_cast<uint32_t>(track.bytes().size()));
        out.write(reinterpret_cast<const char*>(track.bytes().data()), track.bytes().size());
    }
    if (!out) {
        std::fprintf(stderr, "make_music: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
