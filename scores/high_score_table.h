// The table of the ten best games, best first, and the rules that place a new
// score in it. Standard C++ only; the windows and the file build on this.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

constexpr int HighScoreCount = 10;
constexpr int PlayerNameLength = 25;

struct HighScoreEntry {
    // Exactly 25 Windows-1252 bytes, one per character, trailing spaces kept:
    // the name as the file holds it. Build it with PlayerNameFromText.
    std::string PlayerName = "None                     ";
    int32_t PlayerScore = 0;

    bool operator==(const HighScoreEntry&) const = default;
};

// Left-justifies a UTF-8 text into a 25-byte name: padded with spaces, or cut
// after its 25th character. Characters outside Windows-1252 become '?'.
std::string PlayerNameFromText(std::string_view utf8);

// Pads or cuts raw name bytes to exactly 25.
std::string LeftJustifyName(std::string bytes);

class HighScoreTable {
public:
    // Entries are numbered 1 (the best) to 10, as the player sees them.
    HighScoreEntry& Entry(int i) { return entries_.at(i - 1); }
    const HighScoreEntry& Entry(int i) const { return entries_.at(i - 1); }

    // Every entry back to "None" with 0 points.
    void Reset() { entries_.fill(HighScoreEntry{}); }

    bool operator==(const HighScoreTable&) const = default;

private:
    std::array<HighScoreEntry, HighScoreCount> entries_{};
};

// One line of the high-score window, UTF-8: "#3: " + the 25 name characters +
// " " + the score, e.g. "#1: None                      0".
std::string FormatScoreLine(const HighScoreTable& table, int i);

// Where `score` would go: one below the lowest entry that beats it strictly,
// so among equal scores the newest comes first. 0 when it does not reach
// entry 10 (a score equal to entry 10 does reach it).
int HighScorePosition(const HighScoreTable& table, int32_t score);

// Puts a new entry at `position` (1 to 10); the entries from there down move
// one place and the old entry 10 drops out.
void InsertHighScore(HighScoreTable& table, int32_t score, std::string_view nameUtf8, int position);

// The end of a game: when `score` reaches the table, asks for the name (an
// empty answer or a cancelled prompt gives 25 spaces) and inserts it.
// Returns the position given, or 0 when the score did not qualify.
int EnterHighScore(HighScoreTable& table, int32_t score, const std::function<std::string()>& askName);
