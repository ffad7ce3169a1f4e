// Points, rows and speed, and the texts of their three labels.
#include <charconv>

#include "engine/game.h"

namespace stonerush {

namespace {

// Writes value in decimal after prefix into buffer; returns the text.
std::string_view FormatNumber(char (&buffer)[24], std::string_view prefix, int32_t value) {
    char* out = buffer;
    for (char c : prefix) *out++ = c;
    out = std::to_chars(out, buffer + sizeof buffer, value).ptr;
    return {buffer, static_cast<size_t>(out - buffer)};
}

}  // namespace

void Game::Award(int n) {
    // Points for 1..4 rows at the level in force before this award's speed-up.
    static constexpr int32_t BasePoints[5] = {5, 100, 250, 500, 1000};
    const int32_t points = n == 0 ? BasePoints[0] : BasePoints[n] + 25 * int32_t{SpeedLevel};
    Score += points;
    LinesCleared += n;
    ShowScore();
    if (n >= 1) ShowLines();
}

void Game::ShowScore() {
    std::string_view prefix;
    if (Score < 10)
        prefix = "00000";
    else if (Score < 100)
        prefix = "0000";
    else if (Score < 1000)
        prefix = "000";
    else if (Score < 10000)
        prefix = "00";
    else if (Score < 100000)
        prefix = "0";
    else if (Score > MaxScore)
        Score = MaxScore;
    char buffer[24];
    Host.SetCounterText(Counter::Score, FormatNumber(buffer, prefix, Score));
}

void Game::ShowLines() {
    char buffer[24];
    Host.SetCounterText(Counter::Lines, FormatNumber(buffer, {}, LinesCleared));
    // At most one level per call; an award adds at most four rows, so the
    // speed keeps pace with the row count.
    if (LinesCleared >= (int32_t{SpeedLevel} + 1) * 10) {
        ++SpeedLevel;
        ShowSpeed();
    }
}

void Game::ShowSpeed() {
    // Above level 12 the delay stays at 1: a piece falls every second tick.
    if (SpeedLevel <= 12) FallDelay = static_cast<int16_t>(25 - 2 * SpeedLevel);
    char buffer[24];
    Host.SetCounterText(Counter::Speed, FormatNumber(buffer, {}, SpeedLevel));
}

}  // namespace stonerush
