// The high-score table of this run and its file: where the file lives, loading
// or creating it at start-up, saving it whenever the table changes and at the
// end, and the name prompt at the end of a game. Problems with the file are
// told to the player, never fatal: the table then lives in memory until a save
// succeeds. A file that could not be read is never saved over.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "scores/high_score_table.h"

class QWidget;

class ScoreKeeper {
public:
    explicit ScoreKeeper(QWidget* messageParent = nullptr);
    // The reporter and the prompt hold `this`.
    ScoreKeeper(const ScoreKeeper&) = delete;
    ScoreKeeper& operator=(const ScoreKeeper&) = delete;

    // Decides once where rushhs.dat lives (programDirectory if writable, else
    // the per-user data directory), then creates the default file or loads it.
    void StartUp(const QString& programDirectory);

    // Writes the table; returns whether it reached the file. A failure is
    // told to the player once until a save succeeds again, and always when it
    // is the last chance (the program is ending). Does nothing when the file
    // could not be read at start-up.
    bool SaveHighScores(bool lastChance = false);

    // At game over: asks for a name if the score qualifies, inserts it and
    // saves the table.
    void EnterHighScore(int32_t score);

    HighScoreTable& Table() { return table_; }
    QString FilePath() const { return filePath_; }

    // For tests: replace the message box, the name prompt and the per-user
    // data directory (by default the platform's application data location,
    // looked up at StartUp).
    void SetReporter(std::function<void(const QString&)> report) { report_ = std::move(report); }
    void SetNamePrompt(std::function<QString()> prompt) { prompt_ = std::move(prompt); }
    void SetUserDataDirectory(const QString& directory) { userDataDirectory_ = directory; }

private:
    void ReportFileProblem(const QString& what, const QString& path, const std::string& reason,
                           const QString& consequence);

    QWidget* messageParent_;
    HighScoreTable table_;
    QString filePath_;
    QString userDataDirectory_;
    std::function<void(const QString&)> report_;
    std::function<QString()> prompt_;
    bool fileUnreadable_ = false;  // the file's bytes are not ours to replace
    bool failureTold_ = false;     // the player knows the file is not being written
};
