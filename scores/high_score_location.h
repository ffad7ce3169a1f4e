// Where one run of the game keeps its high scores: in "rushhs.dat" beside the
// program, or where that cannot be (an installed copy, a folder that takes no
// file, something there that is no readable ordinary file) in the player's own
// data folder. Decided once at start-up, without changing anything but the
// per-user folder, which is made when it is needed.
#pragma once

#include <filesystem>
#include <vector>

#include "scores/high_score_file.h"

namespace stonerush {

struct HighScoreLocation {
    // Where saves go. With no usable place, the first place looked at, so
    // every save still tries it and says why it fails; empty when there was
    // no place at all.
    std::filesystem::path file;
    bool usable = false;
    // Every place looked at, in order: beside the program (not for an
    // installed copy), then the per-user file when the first will not do.
    std::vector<HighScorePlace> examined;
    // What a new file starts from: the table beside the program, if one could
    // be read, when the per-user file does not exist yet.
    HighScoreTable initial;

    // The places to tell the player about: every one when none is usable,
    // else those that exist but cannot be read.
    std::vector<const HighScorePlace*> problems() const;
};

// programFolderIsInstalled: an installed copy keeps its scores per user even
// when run as root, so removing the package never leaves a file behind.
HighScoreLocation chooseHighScoreLocation(const std::filesystem::path& programFolder,
                                          bool programFolderIsInstalled,
                                          const std::filesystem::path& userDataFolder);

}  // namespace stonerush
