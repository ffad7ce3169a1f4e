// Writes the game's three wave sounds: line.wav (one to three rows cleared),
// quad.wav (four rows) and gameover.wav. Everything is synthesised here from
// sines with envelopes, a few harmonics and a little noise.
//
//   build/<dir>/tools/make_sounds data
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace stonerush {
namespace {

constexpr int sampleRate = 44100;
constexpr double pi = 3.14159265358979323846;
// The player drops the last 100-170 ms of a sound, so every file ends in a
// stretch of silence long enough to lose.
constexpr double silentTail = 0.3;

using Samples = std::vector<double>;

double noteHz(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

// A struck tone: quick attack, exponential decay, and a few harmonics whose
// strengths shape the colour (bell-like when the upper ones are strong).
void addTone(Samples& out, double start, double length, double hz, double level, double decay,
             std::initializer_list<double> harmonics, double vibrato = 0.0) {
    const int first = static_cast<int>(start * sampleRate);
    const int count = static_cast<int>(length * sampleRate);
    if (out.size() < static_cast<size_t>(first + count)) out.resize(first + count, 0.0);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double attack = std::min(1.0, t / 0.006);
        const double release = std::min(1.0, (length - t) / 0.03);  // no click at the end
        const double envelope = attack * release * std::exp(-t * decay);
        const double wobble = 1.0 + vibrato * std::sin(2 * pi * 5.5 * t) * std::min(1.0, t / 0.25);
        phase += 2 * pi * hz * wobble / sampleRate;
        double sample = 0.0;
        int n = 1;
        for (double strength : harmonics) sample += strength * std::sin(phase * n++);
        out[first + i] += level * envelope * sample;
    }
}

// A breathy sweep: noise through a one-pole low-pass whose corner rises.
void addWhoosh(Samples& out, double start, double length, double level) {
    std::mt19937 noise(7);
    std::uniform_real_distribution<double> white(-1.0, 1.0);
    const int first = static_cast<int>(start * sampleRate);
    const int count = static_cast<int>(length * sampleRate);
    if (out.size() < static_cast<size_t>(first + count)) out.resize(first + count, 0.0);
    double low = 0.0;
    for (int i = 0; i < count; ++i) {
        const double x = static_cast<double>(i) / count;
        const double corner = 0.02 + 0.25 * x;
        low += corner * (white(noise) - low);
        const double envelope = std::sin(pi * x) * std::sin(pi * x);
        out[first + i] += level * envelope * low;
    }
}

// Scales the sound so its loudest sample sits at peak, then writes 16-bit
// mono PCM with the silent tail appended.
bool writeWave(const std::string& path, Samples samples, double peak) {
    double loudest = 1e-9;
    for (double s : samples) loudest = std::max(loudest, std::abs(s));
    samples.resize(samples.size() + static_cast<size_t>(silentTail * sampleRate), 0.0);

    std::vector<int16_t> pcm;
    pcm.reserve(samples.size());
    for (double s : samples) pcm.push_back(static_cast<int16_t>(std::lround(s / loudest * peak * 32767)));

    const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
    std::ofstream file(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { file.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { file.write(reinterpret_cast<const char*>(&v), 2); };
    file.write("RIFF", 4);
    u32(36 + dataBytes);
    file.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(sampleRate);
    u32(sampleRate * 2);
    u16(2);
    u16(16);
    file.write("data", 4);
    u32(dataBytes);
    file.write(reinterpret_cast<const char*>(pcm.data()), dataBytes);
    return static_cast<bool>(file);
}

// Rows cleared: two bright bell strikes a fifth apart over a short swish.
Samples lineSound() {
    Samples out;
    addWhoosh(out, 0.0, 0.28, 0.35);
    addTone(out, 0.00, 0.38, noteHz(88), 0.50, 9.0, {1.0, 0.0, 0.35, 0.0, 0.15});  // E7
    addTone(out, 0.07, 0.36, noteHz(95), 0.45, 8.0, {1.0, 0.2, 0.30, 0.0, 0.10});  // B7
    addTone(out, 0.00, 0.30, noteHz(76), 0.25, 10.0, {1.0, 0.4, 0.2});             // E6 body
    return out;
}

// Four rows: a quick major arpeggio climbing two octaves, then a shimmer.
Samples quadSound() {
    Samples out;
    const int notes[] = {72, 76, 79, 84, 88, 91, 96};  // C5 E5 G5 C6 E6 G6 C7
    double start = 0.0;
    for (int note : notes) {
        addTone(out, start, 0.45, noteHz(note), 0.40, 6.0, {1.0, 0.3, 0.25, 0.1, 0.08});
        start += 0.065;
    }
    addTone(out, start, 0.40, noteHz(96), 0.35, 5.0, {1.0, 0.0, 0.3, 0.0, 0.2}, 0.006);
    addTone(out, start + 0.03, 0.37, noteHz(100), 0.25, 5.0, {1.0, 0.0, 0.3}, 0.006);
    addWhoosh(out, 0.0, 0.45, 0.25);
    return out;
}

// Game over: C5 A4 F4 falling onto a long wavering E4, an octave below doubling it.
Samples gameOverSound() {
    Samples out;
    const struct {
        int note;
        double start, length;
    } phrase[] = {{72, 0.00, 0.26}, {69, 0.24, 0.26}, {65, 0.48, 0.26}, {64, 0.72, 0.60}};
    for (const auto& step : phrase) {
        const bool last = step.length > 0.5;
        addTone(out, step.start, step.length, noteHz(step.note), 0.45, last ? 2.2 : 3.5,
                {1.0, 0.45, 0.30, 0.15, 0.08}, last ? 0.012 : 0.0);
        addTone(out, step.start, step.length, noteHz(step.note - 12), 0.25, last ? 2.5 : 4.0, {1.0, 0.2});
    }
    return out;
}

}  // namespace
}  // namespace stonerush

int main(int argc, char** argv) {
    using namespace stonerush;
    const std::string dir = argc > 1 ? argv[1] : ".";
    const bool ok = writeWave(dir + "/line.wav", lineSound(), 0.70) &&
                    writeWave(dir + "/quad.wav", quadSound(), 0.75) &&
                    writeWave(dir + "/gameover.wav", gameOverSound(), 0.70);
    if (!ok) std::fprintf(stderr, "make_sounds: cannot write into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
