// The high scores as the player meets them: the table of this run and its
// file, the name prompt at the end of a game that reached the table, and what
// the player is told when the file cannot be used or saved. Problems with the
// file are never fatal: the table then lives in memory until a save succeeds,
// and a file that could not be read is never saved over.
//
// Every prompt and message is a window-modal dialog of the main window, opened
// without waiting for it: what follows it runs when it is finished.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "platform/zoom.h"
#include "scores/high_score_store.h"

class QWidget;

namespace stonerush {

class HighScoreFlow : public QObject {
    Q_OBJECT
public:
    // Chooses where the table lives (beside the program in programFolder, or
    // in userDataFolder) and reads or makes its file; leftovers of saves that
    // were cut short are removed. Its dialogs belong to `window`.
    HighScoreFlow(QWidget* window, const QString& programFolder, const QString& userDataFolder);

    const HighScoreTable& table() const { return m_store.table(); }
    // The name prompt's zoom follows the window's.
    void setZoom(Zoom zoom) { m_zoom = zoom; }

    // Tells what is wrong with the file found at start-up, if anything, then
    // calls `then` once the player has read it (at once when all is well).
    void tellStartUpProblems(std::function<void()> then);

    // At game over: reads the file again (another copy may have saved) and,
    // if the score reaches the table, asks for a name, enters it and saves.
    void enterScore(int32_t score);
    // Reads the file again, so the table shows what other copies saved.
    void refresh();
    // "Reset": every entry back to the default, saved.
    void reset();

    // The program ends: whatever is unsaved is saved, and `then` runs once a
    // failure has been told and read (at once when there is none).
    void saveAtEnd(std::function<void()> then);

    // The program ends on a signal and nothing may wait for a person any more:
    // an open name prompt counts as OK with the text typed so far, open
    // messages close, and a failure to save is one line on standard error.
    void stopAsking();

signals:
    // After anything that changed the table: an entry, a Reset, a save or a
    // new reading that brought in other copies' entries.
    void tableChanged(const stonerush::HighScoreTable& table);

private:
    void enterName(const QString& name, int32_t score);
    void save(bool lastChance = false, std::function<void()> then = nullptr);
    QString saveFailureText(const QString& what, const FileStatus& status, bool lastChance);
    void tellInTurn(QStringList texts, std::function<void()> then);
    void tellIfChanged(const HighScoreTable& before);

    QWidget* m_window;
    Zoom m_zoom;
    HighScoreStore m_store;
    QStringList m_startUpProblems;   // what the player is told first, if anything
    bool m_asking = true;            // false once the program ends on a signal
    bool m_saveFailureTold = false;  // the player has heard that saving fails
    bool m_failureLogged = false;    // the line on stderr is written
};

}  // namespace stonerush
