#include "scores/high_score_store.h"

#include <gtest/gtest.h>
#include <sys/file.h>

#include <fcntl.h>
#include <map>
#include <sstream>
#include <thread>

#include "score_file_fixture.h"

namespace stonerush {
namespace {

// The names of the entries with points, each followed by a space.
std::string namesIn(const HighScoreTable& table) {
    std::string names;
    for (int i = 1; i <= highScoreCount && table.entry(i).playerScore > 0; ++i)
        names += table.entry(i).playerName.substr(0, 2) + " ";
    return names;
}

// Two copies of the game on one file, step by step: "A5" is copy A entering
// the player "A5" with 500 points, "As" its save, "Ar" its Reset (saved, as
// the window's button does). Each save shows its copy the table it wrote, and
// a copy with nothing new writes nothing.
struct Sharing {
    const char* steps;
    const char* onDisk;
};
using SharedFile = ScoreFileWith<Sharing>;
TEST_P(SharedFile, NoCopyDropsAnotherCopysEntries) {
    std::map<char, HighScoreStore> copies{{'A', HighScoreStore(file)}, {'B', HighScoreStore(file)}};
    for (auto& [name, copy] : copies) ASSERT_TRUE(copy.create({}).ok);
    std::istringstream steps(GetParam().steps);
    HighScoreTable onDisk;
    for (std::string step; steps >> step;) {
        HighScoreStore& copy = copies.at(step[0]);
        if (step[1] == 'r') copy.reset();
        if (std::isdigit(step[1])) copy.enter({playerNameFromText(step), (step[1] - '0') * 100});
        if (std::isdigit(step[1])) continue;
        const bool idle = !copy.hasUnsavedChanges();
        const ino_t before = statusOf(file).st_ino;
        ASSERT_TRUE(copy.save().ok);
        ASSERT_TRUE(loadHighScores(onDisk, file).ok);
        if (idle) {
            EXPECT_EQ(statusOf(file).st_ino, before) << "a copy with nothing new wrote at " << step;
        } else {
            EXPECT_EQ(namesIn(copy.table()), namesIn(onDisk)) << step;
        }
    }
    EXPECT_EQ(namesIn(onDisk), GetParam().onDisk);
}
INSTANTIATE_TEST_SUITE_P(Interleaved, SharedFile,
                         ::testing::Values(Sharing{"A5 B3 As Bs", "A5 B3 "}, Sharing{"A5 B3 Bs As", "A5 B3 "},
                                           Sharing{"A5 B5 As Bs", "B5 A5 "},  // the newest first among equals
                                           Sharing{"B3 Bs As", "B3 "},        // A idle at the title quits
                                           Sharing{"A1 A2 B3 As Bs A4 As", "A4 B3 A2 A1 "},
                                           Sharing{"A5 As B3 Bs Ar B4 Bs", "B4 "}));

// Another copy holding the lock: a save waits for it, at most two seconds, and
// gives up without writing; once the lock is let go, the save goes through.
TEST_F(ScoreFile, SaveWaitsForTheLock) {
    HighScoreStore store(file);
    ASSERT_TRUE(store.create({}).ok);
    store.enter({playerNameFromText("Ann"), 500});
    const int other = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    EXPECT_EQ(store.save().error, EWOULDBLOCK);
    EXPECT_EQ(bytesOf(file), times(10, defaultRecord));
    std::thread release([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ::close(other);
    });
    EXPECT_TRUE(store.save().ok);
    release.join();
    EXPECT_EQ(bytesOf(file), ann500 + times(9, defaultRecord));
}

}  // namespace
}  // namespace stonerush
