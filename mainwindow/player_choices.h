// What the player chose, kept from one run to the next in the player's
// configuration (~/.config/stonerush/stonerush.conf): the zoom step, the
// sound effects and music switches, and the starting speed. A first start
// finds none of them and plays as the game always has: both switches on,
// speed 0, the zoom chosen for the screen.
#pragma once

#include <optional>

namespace stonerush {

struct PlayerChoices {
    std::optional<int> zoomStep;  // none at a first start
    bool soundOn = true;
    bool musicOn = true;
    int startingSpeed = 0;

    // The choices kept; a value that is missing or out of range counts as not chosen.
    static PlayerChoices kept();

    static void keepZoomStep(int step);
    static void keepSoundOn(bool on);
    static void keepMusicOn(bool on);
    static void keepStartingSpeed(int speed);
};

}  // namespace stonerush
