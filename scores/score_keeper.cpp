#include "scores/score_keeper.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <filesystem>

#include "platform/app_dir.h"
#include "platform/app_info.h"
#include "platform/prompt.h"
#include "scores/high_score_file.h"

namespace {

std::filesystem::path ToPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString FromPath(const std::filesystem::path& path) {
    return QFile::decodeName(path.c_str());
}

const QString kKeptInMemory = QStringLiteral("The high scores of this session are kept in memory only.");
const QString kRetried = QStringLiteral(
    "The scores are kept in memory and saved again at the next new score or Reset, and when the game ends.");

}  // namespace

ScoreKeeper::ScoreKeeper(QWidget* messageParent) : messageParent_(messageParent) {
    report_ = [this](const QString& text) {
        QMessageBox::warning(messageParent_, QString::fromUtf8(app_info::Title), text);
    };
    prompt_ = [this] {
        return InputBox(messageParent_, QStringLiteral("Please Enter Your Name"),
                        QStringLiteral("High Score!"), QString());
    };
}

void ScoreKeeper::ReportFileProblem(const QString& what, const QString& path, const std::string& reason,
                                    const QString& consequence) {
    report_(QStringLiteral("%1\n\nFile: %2\nReason: %3\n\n%4")
                .arg(what, QDir::toNativeSeparators(path), QString::fromStdString(reason), consequence));
}

void ScoreKeeper::StartUp(const QString& programDirectory) {
    // Looked up here, not at construction, so the application's name is surely set by now.
    if (userDataDirectory_.isNull())
        userDataDirectory_ = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // An installed copy keeps its scores per user even when run as root, so
    // removing the package never leaves a score file behind in its folder.
    const bool installedCopy = IsInstalledProgramDirectory(programDirectory);
    const std::filesystem::path programFolder = ToPath(programDirectory);
    const HighScoreFileChoice choice = ChooseHighScoreFile(
        programFolder, ToPath(userDataDirectory_), [&](const std::filesystem::path& file) {
            return !(installedCopy && file.parent_path() == programFolder) && CanWriteFile(file);
        });
    filePath_ = FromPath(choice.file);
    const bool exists = QFile::exists(filePath_);

    if (!choice.writable) {
        QString text = QStringLiteral("The high-score file cannot be written.\n");
        const auto explain = [&text](const std::filesystem::path& file) {
            text += QStringLiteral("\nFile: %1\nReason: %2\n")
                        .arg(QDir::toNativeSeparators(FromPath(file)),
                             QString::fromStdString(ProbeWritable(file).reason));
        };
        explain(choice.file);
        if (!userDataDirectory_.isEmpty()) explain(ToPath(userDataDirectory_) / HighScoreFileName);
        report_(text + QLatin1Char('\n') + kKeptInMemory);
        failureTold_ = true;
    }

    if (exists) {
        const FileStatus loaded = LoadHighScores(table_, choice.file);
        if (!loaded.ok) {
            fileUnreadable_ = true;
            ReportFileProblem(
                QStringLiteral("The high scores could not be read."), filePath_, loaded.reason,
                QStringLiteral("The game goes on with the default table. The file is left as it "
                               "is: the scores of this session are not saved to it."));
        }
        return;
    }
    if (!choice.writable) return;  // nothing to read and nowhere to write: defaults in memory

    // A per-user copy starts from the table beside the program, when there is one.
    const std::filesystem::path besideProgram = ToPath(programDirectory) / HighScoreFileName;
    FileStatus written;
    if (choice.file != besideProgram && LoadHighScores(table_, besideProgram).ok) {
        written = ::SaveHighScores(table_, choice.file);
    } else {
        written = CreateDefaultHighScores(table_, choice.file);
    }
    if (!written.ok) {
        ReportFileProblem(QStringLiteral("The high-score file could not be created."), filePath_,
                          written.reason, kRetried);
        failureTold_ = true;
    }
}

bool ScoreKeeper::SaveHighScores(bool lastChance) {
    if (fileUnreadable_) return false;
    const FileStatus saved = ::SaveHighScores(table_, ToPath(filePath_));
    if (!saved.ok && (lastChance || !failureTold_)) {
        ReportFileProblem(QStringLiteral("The high scores could not be saved."), filePath_, saved.reason,
                          lastChance
                              ? QStringLiteral("The file keeps its earlier contents; the scores of this "
                                               "session are lost.")
                              : QStringLiteral("The file keeps its earlier contents. ") + kRetried);
    }
    failureTold_ = !saved.ok;
    return saved.ok;
}

void ScoreKeeper::EnterHighScore(int32_t score) {
    if (::EnterHighScore(table_, score, [this] { return prompt_().toStdString(); }) != 0) SaveHighScores();
}
