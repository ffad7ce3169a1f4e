// The one door between the rules and the world around them. The main window
// implements it; tests implement it with a scripted fake.
#pragma once

#include <cstdint>
#include <string_view>

namespace stonerush {

// What the keyboard asks for at one poll.
struct KeyRequests {
    int16_t Move = 0;  // 0 none, 1 left, 2 right, 3 down
    int16_t Turn = 0;  // 0 none, 1 Rotation - 1, 2 Rotation + 1
};

// The three counter labels beside the playfield.
enum class Counter { Score, Lines, Speed };

class GameHost {
public:
    virtual ~GameHost() = default;

    // The keys held down at this moment.
    virtual KeyRequests PollKeyboard() = 0;

    // Starts a wave file from the program's directory ("line.wav") without waiting.
    virtual void PlayWave(std::string_view fileName) = 0;

    // Shows a counter; the text is only valid during the call.
    virtual void SetCounterText(Counter counter, std::string_view text) = 0;

    // Repaints the playfield and the preview from the board and the preview grid.
    virtual void Redraw() = 0;

    // The window's part of the end of a game: stop the music, show the
    // game-over picture and the speed selector, caption "START".
    virtual void ShowGameOver() = 0;

    // Offers the final score to the high-score table (may ask for a name).
    virtual void EnterHighScore(int32_t score) = 0;

    // A random value r with 0 <= r < 1.
    virtual float Random() = 0;
};

}  // namespace stonerush
