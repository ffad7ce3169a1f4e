#include "scores/score_keeper.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "platform/app_dir.h"
#include "platform/app_info.h"
#include "scores/name_prompt.h"
#include "scores/temporary_file.h"

namespace stonerush {
namespace {

std::filesystem::path toPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString shown(const std::filesystem::path& path) {
    return QDir::toNativeSeparators(QFile::decodeName(path.c_str()));
}

QString fileAndReason(const std::filesystem::path& file, const std::string& reason) {
    return QStringLiteral("\nFile: %1\nReason: %2\n").arg(shown(file), QString::fromStdString(reason));
}

}  // namespace

ScoreKeeper::ScoreKeeper(QWidget* messageParent) : m_messageParent(messageParent) {
    m_report = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QString::fromUtf8(appinfo::title), text, QMessageBox::Ok,
                        m_messageParent);
        m_openMessage = &box;
        box.exec();
    };
    m_prompt = [this] { return askPlayerName(m_messageParent, m_zoom); };
}

QString ScoreKeeper::filePath() const {
    return QFile::decodeName(m_store.file().c_str());
}

void ScoreKeeper::startUp(const QString& programDirectory) {
    // Looked up here, not at construction, so the application's name is surely set by now.
    if (m_userDataDirectory.isNull())
        m_userDataDirectory = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const std::filesystem::path besideProgram = toPath(programDirectory) / highScoreFileName;
    std::vector<HighScorePlace> places;
    // An installed copy keeps its scores per user even when run as root, so
    // removing the package never leaves a score file behind in its folder.
    if (!isInstalledProgramDirectory(programDirectory))
        places.push_back(examineHighScorePlace(besideProgram));
    if ((places.empty() || !places.back().problem.ok) && !m_userDataDirectory.isEmpty()) {
        std::error_code error;
        std::filesystem::create_directories(toPath(m_userDataDirectory), error);
        places.push_back(examineHighScorePlace(toPath(m_userDataDirectory) / highScoreFileName));
    }
    const bool usable = !places.empty() && places.back().problem.ok;
    tellPlaceProblems(places, usable);
    // With no usable place every save still tries the first one, and says why it fails.
    m_store =
        HighScoreStore(places.empty() ? std::filesystem::path() : (usable ? places.back() : places[0]).file);
    if (!usable) {
        m_store.refresh();  // a file that can be read but not written still shows its table
        return;
    }
    removeLeftoverTemporaryFiles(followLinks(m_store.file()));
    // A new per-user file starts from the table beside the program, when there is one.
    HighScoreTable initial;
    if (!places.back().exists) loadHighScores(initial, besideProgram);
    if (const FileStatus made = m_store.create(initial); !made.ok)
        tellSaveFailure(QStringLiteral("The high-score file could not be created."), made, false);
}

void ScoreKeeper::tellPlaceProblems(const std::vector<HighScorePlace>& places, bool usable) {
    QString files;
    for (const HighScorePlace& place : places)
        if (!usable || (place.exists && !place.readable))
            files += fileAndReason(place.file, place.problem.reason);
    if (!usable) {
        m_saveFailureTold = true;
        m_report(QStringLiteral("The high scores cannot be kept in a file.\n") + files +
                 QStringLiteral("\nThe high scores of this session are kept in memory only."));
    } else if (!files.isEmpty()) {
        m_report(QStringLiteral("The high-score file cannot be used.\n") + files +
                 QStringLiteral("\nThe high scores of this session are kept in %1.")
                     .arg(shown(places.back().file)));
    }
}

void ScoreKeeper::tellSaveFailure(const QString& what, const FileStatus& status, bool lastChance) {
    if (!m_asking) {
        if (!std::exchange(m_failureLogged, true))
            std::fprintf(stderr, "stonerush: the high scores could not be saved to %s: %s\n",
                         m_store.file().c_str(), status.reason.c_str());
        return;
    }
    if (std::exchange(m_saveFailureTold, true)) return;
    std::error_code error;
    QString consequence = std::filesystem::exists(followLinks(m_store.file()), error)
                              ? QStringLiteral("The file is left as it was. ")
                              : QString();
    consequence += lastChance ? QStringLiteral("The changes since the last save are lost.")
                              : QStringLiteral(
                                    "The high scores are kept in memory and saved again at the next "
                                    "new score or Reset, and when the game ends.");
    m_report(what + QLatin1Char('\n') + fileAndReason(m_store.file(), status.reason) + QLatin1Char('\n') +
             consequence);
}

void ScoreKeeper::tellIfChanged(const HighScoreTable& before) {
    if (table() != before) emit tableChanged();
}

bool ScoreKeeper::saveHighScores(bool lastChance) {
    const HighScoreTable before = table();
    const FileStatus saved = m_store.save();
    tellIfChanged(before);
    if (!saved.ok) tellSaveFailure(QStringLiteral("The high scores could not be saved."), saved, lastChance);
    return saved.ok;
}

void ScoreKeeper::refreshHighScores() {
    const HighScoreTable before = table();
    m_store.refresh();  // a file that cannot be read now is told about by the next save
    tellIfChanged(before);
}

void ScoreKeeper::enterHighScore(int32_t score) {
    refreshHighScores();
    if (highScorePosition(table(), score) == 0) return;
    const QString name = m_asking ? m_prompt() : QString();
    const HighScoreTable before = table();
    m_store.enter({playerNameFromText(name.toStdString()), score});
    tellIfChanged(before);
    saveHighScores();
}

void ScoreKeeper::resetHighScores() {
    const HighScoreTable before = table();
    m_store.reset();
    tellIfChanged(before);
    saveHighScores();
}

bool ScoreKeeper::stopAsking() {
    m_asking = false;
    bool open = acceptOpenPrompt();
    if (m_openMessage) {
        m_openMessage->reject();
        open = true;
    }
    return open;
}

}  // namespace stonerush
