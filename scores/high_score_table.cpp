#include "scores/high_score_table.h"

#include "scores/cp1252.h"

std::string LeftJustifyName(std::string bytes) {
    bytes.resize(PlayerNameLength, ' ');
    return bytes;
}

std::string PlayerNameFromText(std::string_view utf8) {
    return LeftJustifyName(Cp1252FromUtf8(utf8));
}

std::string FormatScoreLine(const HighScoreTable& table, int i) {
    const HighScoreEntry& entry = table.Entry(i);
    return "#" + std::to_string(i) + ": " + Utf8FromCp1252(LeftJustifyName(entry.PlayerName)) + " " +
           std::to_string(entry.PlayerScore);
}

int HighScorePosition(const HighScoreTable& table, int32_t score) {
    if (score < table.Entry(HighScoreCount).PlayerScore) return 0;
    for (int i = HighScoreCount; i > 1; --i) {
        if (score < table.Entry(i).PlayerScore) return i + 1;
    }
    return score < table.Entry(1).PlayerScore ? 2 : 1;
}

void InsertHighScore(HighScoreTable& table, int32_t score, std::string_view nameUtf8, int position) {
    // Copy from the bottom upwards so nothing is overwritten before it moved.
    const HighScoreEntry displaced = table.Entry(position);
    table.Entry(position) = HighScoreEntry{PlayerNameFromText(nameUtf8), score};
    for (int k = HighScoreCount; k >= position + 2; --k) table.Entry(k) = table.Entry(k - 1);
    if (position < HighScoreCount) table.Entry(position + 1) = displaced;
}

int EnterHighScore(HighScoreTable& table, int32_t score, const std::function<std::string()>& askName) {
    const int position = HighScorePosition(table, score);
    if (position == 0) return 0;
    const std::string name = askName();
    InsertHighScore(table, score, name, position);
    return position;
}
