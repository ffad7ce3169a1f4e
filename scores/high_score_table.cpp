#include "scores/high_score_table.h"

#include "scores/cp1252.h"

namespace stonerush {

std::string leftJustifyName(std::string bytes) {
    bytes.resize(playerNameLength, ' ');
    return bytes;
}

std::string playerNameFromText(std::string_view utf8) {
    return leftJustifyName(cp1252FromUtf8(utf8));
}

std::string formatScoreLine(const HighScoreTable& table, int i) {
    const HighScoreEntry& entry = table.entry(i);
    std::string line = "#";
    line += std::to_string(i);
    line += ": ";
    line += utf8FromCp1252(leftJustifyName(entry.playerName));
    line += ' ';
    line += std::to_string(entry.playerScore);
    return line;
}

int highScorePosition(const HighScoreTable& table, int32_t score) {
    if (score < table.entry(highScoreCount).playerScore) return 0;
    for (int i = highScoreCount; i > 1; --i) {
        if (score < table.entry(i).playerScore) return i + 1;
    }
    return score < table.entry(1).playerScore ? 2 : 1;
}

void insertHighScore(HighScoreTable& table, const HighScoreEntry& entry, int position) {
    // Copy from the bottom upwards so nothing is overwritten before it moved.
    const HighScoreEntry displaced = table.entry(position);
    table.entry(position) = HighScoreEntry{leftJustifyName(entry.playerName), entry.playerScore};
    for (int k = highScoreCount; k >= position + 2; --k) table.entry(k) = table.entry(k - 1);
    if (position < highScoreCount) table.entry(position + 1) = displaced;
}

int placeHighScore(HighScoreTable& table, const HighScoreEntry& entry) {
    const int position = highScorePosition(table, entry.playerScore);
    if (position != 0) insertHighScore(table, entry, position);
    return position;
}

}  // namespace stonerush
