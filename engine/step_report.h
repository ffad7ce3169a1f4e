// What one step of the game did, for those who show and sound it. The cells
// are not in it: the views compare what they show with the board.
#pragma once

namespace stonerush {

struct StepReport {
    bool scoreChanged = false;
    bool speedRaised = false;  // ten more rows: the pieces fall faster
    // The full rows a landing completed, 0 to 4, on the step that finds them:
    // they count at once, then flash for 37 ticks before they go.
    int rowsCleared = 0;
    bool gameOver = false;  // the next piece found no room

    bool operator==(const StepReport&) const = default;
};

}  // namespace stonerush
