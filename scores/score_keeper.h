// The high-score table of this run and its file: where the file lives, loading
// or creating it at start-up, saving it at the end, and the name prompt at the
// end of a game. Problems with the file are told to the player, never fatal:
// the table then simply lives in memory.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "scores/high_score_table.h"

class QWidget;

class ScoreKeeper {
public:
    explicit ScoreKeeper(QWidget* messageParent = nullptr);

    // Decides once where rushhs.dat lives (programDirectory if writable, else
    // the per-user data directory), then creates the default file or loads it.
    void StartUp(const QString& programDirectory);

    // Writes the table; on failure tells the player and returns false.
    bool SaveHighScores();

    // At game over: asks for a name if the score qualifies and inserts it.
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
};
