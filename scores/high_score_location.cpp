#include "scores/high_score_location.h"

namespace stonerush {

std::vector<const HighScorePlace*> HighScoreLocation::problems() const {
    std::vector<const HighScorePlace*> told;
    for (const HighScorePlace& place : examined)
        if (!usable || (place.exists && !place.readable)) told.push_back(&place);
    return told;
}

HighScoreLocation chooseHighScoreLocation(const std::filesystem::path& programFolder,
                                          bool programFolderIsInstalled,
                                          const std::filesystem::path& userDataFolder) {
    HighScoreLocation location;
    std::vector<HighScorePlace>& places = location.examined;
    const std::filesystem::path besideProgram = programFolder / highScoreFileName;
    if (!programFolderIsInstalled) places.push_back(examineHighScorePlace(besideProgram));
    if ((places.empty() || !places.back().problem.ok) && !userDataFolder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(userDataFolder, error);
        places.push_back(examineHighScorePlace(userDataFolder / highScoreFileName));
    }
    location.usable = !places.empty() && places.back().problem.ok;
    if (!places.empty()) location.file = (location.usable ? places.back() : places.front()).file;
    if (location.usable && !places.back().exists) loadHighScores(location.initial, besideProgram);
    return location;
}

}  // namespace stonerush
