// The high-score table of one copy of the game and the file it shares with any
// other copy that uses the same file. The copy keeps the entries it made since
// its last successful save, and whether a Reset came since. Each save, under
// the file's lock, reads the table the file holds by then, starts from the
// default table instead after a Reset, places the kept entries on it again by
// the usual rule in the order they were made (so each is the newest among
// equal scores), and writes that; the copy then shows the merged table. So
// copies never drop each other's entries, and a copy with nothing new writes
// nothing.
#pragma once

#include <filesystem>
#include <vector>

#include "scores/high_score_file.h"
#include "scores/high_score_table.h"

namespace stonerush {

class HighScoreStore {
public:
    HighScoreStore() = default;  // no file: every file operation fails
    explicit HighScoreStore(std::filesystem::path file) : m_file(std::move(file)) {}

    const std::filesystem::path& file() const { return m_file; }
    // The table as last read or written, with the unsaved entries placed on it.
    const HighScoreTable& table() const { return m_table; }
    bool hasUnsavedChanges() const { return m_resetUnsaved || !m_unsaved.empty(); }

    // Creates the file holding `initial` when there is none (should another
    // copy make it first, its file is kept), then reads it.
    FileStatus create(const HighScoreTable& initial);

    // Reads the table the file holds now, without the lock, and places the
    // unsaved entries on it. When the file cannot be read nothing changes.
    FileStatus refresh();

    // Places a new entry by the usual rule; returns its position, 0 when it
    // does not reach the table. It is kept for the next save either way.
    int enter(const HighScoreEntry& entry);

    // Every entry back to the default; earlier unsaved entries are dropped.
    void reset();

    // Merges and writes as above, when there is anything to write. On a
    // failure the file and the unsaved changes stay as they were.
    FileStatus save();

private:
    HighScoreTable withUnsaved(HighScoreTable base) const;

    std::filesystem::path m_file;
    HighScoreTable m_table;
    std::vector<HighScoreEntry> m_unsaved;  // in the order made
    bool m_resetUnsaved = false;
};

}  // namespace stonerush
