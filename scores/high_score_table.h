// The table of the ten best games, best first, and the rules that place a new
// score in it. Standard C++ only; the windows and the file build on this.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace stonerush {

constexpr int highScoreCount = 10;
constexpr int playerNameLength = 25;

struct HighScoreEntry {
    // Exactly 25 Windows-1252 bytes, one per character, trailing spaces kept:
    // the name as the file holds it. Build it with playerNameFromText.
    std::string playerName = "None                     ";
    int32_t playerScore = 0;

    bool operator==(const HighScoreEntry&) const = default;
};

// Left-justifies a UTF-8 text into a 25-byte name: padded with spaces, or cut
// after its 25th character. Characters outside Windows-1252 become '?'.
std::string playerNameFromText(std::string_view utf8);

// Pads or cuts raw name bytes to exactly 25.
std::string leftJustifyName(std::string bytes);

class HighScoreTable {
public:
    // Entries are numbered 1 (the best) to 10, as the player sees them.
    HighScoreEntry& entry(int i) { return m_entries.at(i - 1); }
    const HighScoreEntry& entry(int i) const { return m_entries.at(i - 1); }

    // Every entry back to "None" with 0 points.
    void reset() { m_entries.fill(HighScoreEntry{}); }

    bool operator==(const HighScoreTable&) const = default;

private:
    std::array<HighScoreEntry, highScoreCount> m_entries{};
};

// One line of the high-score window, UTF-8: "#3: " + the 25 name characters +
// " " + the score, e.g. "#1: None                      0".
std::string formatScoreLine(const HighScoreTable& table, int i);

// Where `score` would go: one below the lowest entry that beats it strictly,
// so among equal scores the newest comes first. 0 when it does not reach
// entry 10 (a score equal to entry 10 does reach it).
int highScorePosition(const HighScoreTable& table, int32_t score);

// Puts `entry` at `position` (1 to 10); the entries from there down move one
// place and the old entry 10 drops out.
void insertHighScore(HighScoreTable& table, const HighScoreEntry& entry, int position);

// Puts `entry` where its score goes (see highScorePosition). Returns the
// position given, or 0 when it does not reach the table (nothing changes).
int placeHighScore(HighScoreTable& table, const HighScoreEntry& entry);

}  // namespace stonerush
