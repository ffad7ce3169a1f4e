// The high-score table of this run and its file: where the file lives, reading
// or creating it at start-up, saving after every new entry and Reset and at
// the end, and the name prompt at the end of a game. Problems with the file
// are told to the player, never fatal: the table then lives in memory until a
// save succeeds. A file that could not be read is never saved over.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

#include "platform/zoom.h"
#include "scores/high_score_store.h"

class QMessageBox;
class QWidget;

namespace stonerush {

class ScoreKeeper : public QObject {
    Q_OBJECT
public:
    explicit ScoreKeeper(QWidget* messageParent = nullptr);

    // Decides once where rushhs.dat lives, and creates or reads it: beside the
    // program (not for an installed copy), else in the per-user data folder.
    // A file there that is no ordinary file or cannot be read is passed over,
    // and one message says which file, why, and where the scores go instead
    // (or that they stay in memory). Leftovers of interrupted saves are removed.
    void startUp(const QString& programDirectory);

    // Merges this session's new entries, or its Reset, into the file; returns
    // whether the file holds them now (also when there was nothing to write).
    // The first failure of the session is told, as the last chance when the
    // program is ending; after stopAsking() it is one line on stderr.
    bool saveHighScores(bool lastChance = false);

    // At game over: reads the file again (another copy may have saved), asks
    // for a name if the score reaches the table, enters it and saves.
    void enterHighScore(int32_t score);

    // "Reset": every entry back to the default, saved.
    void resetHighScores();

    // Reads the file again, so the table shows what other copies saved.
    void refreshHighScores();

    // The program ends on a signal, and nothing may wait for a person any
    // more: an open name prompt is accepted with the text typed so far, an
    // open message is closed, and from now on a failure is a line on stderr.
    // Returns whether a prompt or a message was open; it returns to its
    // caller only once the event loop runs again.
    bool stopAsking();

    const HighScoreTable& table() const { return m_store.table(); }
    QString filePath() const;

    // For tests: replace the message box, the name prompt and the per-user
    // data directory (by default the platform's application data location,
    // looked up at startUp).
    void setReporter(std::function<void(const QString&)> report) { m_report = std::move(report); }
    void setNamePrompt(std::function<QString()> prompt) { m_prompt = std::move(prompt); }
    void setUserDataDirectory(const QString& directory) { m_userDataDirectory = directory; }

    // The window messages and the name prompt belong to, once there is one.
    void setMessageParent(QWidget* parent) { m_messageParent = parent; }
    // The zoom of the name prompt.
    void setZoom(Zoom zoom) { m_zoom = zoom; }

signals:
    // After anything that changed the table: an entry, a Reset, a save or a
    // new reading that brought in other copies' entries.
    void tableChanged();

private:
    void tellPlaceProblems(const std::vector<HighScorePlace>& places, bool usable);
    void tellSaveFailure(const QString& what, const FileStatus& status, bool lastChance);
    void tellIfChanged(const HighScoreTable& before);

    QWidget* m_messageParent;
    Zoom m_zoom;
    HighScoreStore m_store;
    QString m_userDataDirectory;
    std::function<void(const QString&)> m_report;
    std::function<QString()> m_prompt;
    QPointer<QMessageBox> m_openMessage;
    bool m_asking = true;            // false once the program ends on a signal
    bool m_saveFailureTold = false;  // the player has heard that saving fails
    bool m_failureLogged = false;    // the line on stderr is written
};

}  // namespace stonerush
