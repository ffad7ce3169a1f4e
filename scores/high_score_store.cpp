#include "scores/high_score_store.h"

#include <unistd.h>

#include <cerrno>

#include "scores/table_lock.h"
#include "scores/temporary_file.h"

namespace stonerush {
namespace {

const FileStatus noFile{false, "there is no folder to keep the file in", ENOENT};

}  // namespace

HighScoreTable HighScoreStore::withUnsaved(HighScoreTable base) const {
    if (m_resetUnsaved) base.reset();
    for (const HighScoreEntry& entry : m_unsaved) placeHighScore(base, entry);
    return base;
}

FileStatus HighScoreStore::create(const HighScoreTable& initial) {
    if (m_file.empty()) return noFile;
    const FileStatus created = createFileHolding(followLinks(m_file), encodeHighScores(initial));
    if (!created.ok && created.error != EEXIST) return created;
    return refresh();
}

FileStatus HighScoreStore::refresh() {
    HighScoreTable onDisk;
    const FileStatus read = m_file.empty() ? noFile : loadHighScores(onDisk, m_file);
    if (read.ok) m_table = withUnsaved(onDisk);
    return read;
}

int HighScoreStore::enter(const HighScoreEntry& entry) {
    m_unsaved.push_back(entry);
    return placeHighScore(m_table, entry);
}

void HighScoreStore::reset() {
    m_unsaved.clear();
    m_resetUnsaved = true;
    m_table.reset();
}

FileStatus HighScoreStore::save() {
    if (!hasUnsavedChanges()) return {};
    if (m_file.empty()) return noFile;
    const std::filesystem::path target = followLinks(m_file);
    errno = 0;  // a read-only file stays as it is, though its folder would let a new one replace it
    if (::access(target.c_str(), W_OK) != 0 && errno != ENOENT)
        return systemFailure("cannot open the file for writing");
    TableLock lock;
    if (FileStatus locked = lock.acquire(target, encodeHighScores(HighScoreTable{})); !locked.ok)
        return locked;
    HighScoreTable onDisk;
    if (FileStatus read = readHighScores(lock.descriptor(), onDisk); !read.ok) return read;
    const HighScoreTable merged = withUnsaved(onDisk);
    const FileStatus written =
        replaceHighScores(encodeHighScores(merged), lock.descriptor(), lock.status(), target);
    if (!written.ok) return written;
    m_table = merged;
    m_unsaved.clear();
    m_resetUnsaved = false;
    return {};
}

}  // namespace stonerush
