#include "mainwindow/high_score_flow.h"

#include <QFile>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <cstdio>
#include <utility>

#include "platform/app_dir.h"
#include "platform/app_info.h"
#include "scores/high_score_location.h"
#include "scores/temporary_file.h"

namespace stonerush {
namespace {

std::filesystem::path toPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString shown(const std::filesystem::path& path) {
    return QFile::decodeName(path.c_str());
}

QString fileAndReason(const std::filesystem::path& file, const std::string& reason) {
    return QStringLiteral("\nFile: %1\nReason: %2\n").arg(shown(file), QString::fromStdString(reason));
}

// One message per start about the places that would not do: which file, why,
// and where the scores go instead.
QString placeProblemsText(const HighScoreLocation& location) {
    QString files;
    for (const HighScorePlace* place : location.problems())
        files += fileAndReason(place->file, place->problem.reason);
    if (!location.usable)
        return QStringLiteral("The high scores cannot be kept in a file.\n") + files +
               QStringLiteral("\nThe high scores of this session are kept in memory only.");
    if (files.isEmpty()) return {};
    return QStringLiteral("The high-score file cannot be used.\n") + files +
           QStringLiteral("\nThe high scores of this session are kept in %1.").arg(shown(location.file));
}

}  // namespace

HighScoreFlow::HighScoreFlow(QWidget* window, const QString& programFolder, const QString& userDataFolder)
    : m_window(window) {
    const HighScoreLocation location = chooseHighScoreLocation(
        toPath(programFolder), isInstalledProgramDirectory(programFolder), toPath(userDataFolder));
    if (const QString problems = placeProblemsText(location); !problems.isEmpty())
        m_startUpProblems << problems;
    m_saveFailureTold = !location.usable;  // that message says it all
    m_store = HighScoreStore(location.file);
    if (!location.usable) {
        m_store.refresh();  // a file that can be read but not written still shows its table
        return;
    }
    removeLeftoverTemporaryFiles(followLinks(m_store.file()));
    if (const FileStatus made = m_store.create(location.initial); !made.ok) {
        m_startUpProblems << saveFailureText(QStringLiteral("The high-score file could not be created."),
                                             made, false);
        m_saveFailureTold = true;
    }
}

void HighScoreFlow::tellStartUpProblems(std::function<void()> then) {
    tellInTurn(std::exchange(m_startUpProblems, {}), std::move(then));
}

void HighScoreFlow::enterScore(int32_t score) {
    refresh();
    if (highScorePosition(table(), score) == 0) return;
    if (!m_asking) return enterName(QString(), score);
    auto* prompt = new QInputDialog(m_window);
    prompt->setObjectName(QStringLiteral("namePrompt"));
    prompt->setAttribute(Qt::WA_DeleteOnClose);
    prompt->setFont(m_zoom(prompt->font()));  // its layout grows with the text
    prompt->setWindowTitle(QStringLiteral("High Score!"));
    prompt->setLabelText(QStringLiteral("Please Enter Your Name"));
    // Cancel, Escape or the close box enter the score with an empty name.
    connect(prompt, &QDialog::finished, this, [this, prompt, score](int result) {
        enterName(result == QDialog::Accepted ? prompt->textValue() : QString(), score);
    });
    prompt->open();
}

void HighScoreFlow::enterName(const QString& name, int32_t score) {
    const HighScoreTable before = table();
    m_store.enter({playerNameFromText(name.toStdString()), score});
    tellIfChanged(before);
    save();
}

void HighScoreFlow::refresh() {
    const HighScoreTable before = table();
    m_store.refresh();  // a file that cannot be read now is told about by the next save
    tellIfChanged(before);
}

void HighScoreFlow::reset() {
    const HighScoreTable before = table();
    m_store.reset();
    tellIfChanged(before);
    save();
}

void HighScoreFlow::saveAtEnd(std::function<void()> then) {
    save(/*lastChance=*/true, std::move(then));
}

void HighScoreFlow::save(bool lastChance, std::function<void()> then) {
    const HighScoreTable before = table();
    const FileStatus saved = m_store.save();
    tellIfChanged(before);
    QStringList told;
    if (!saved.ok && !m_asking && !std::exchange(m_failureLogged, true))
        std::fprintf(stderr, "stonerush: the high scores could not be saved to %s: %s\n",
                     m_store.file().c_str(), saved.reason.c_str());
    if (!saved.ok && m_asking && !std::exchange(m_saveFailureTold, true))
        told << saveFailureText(QStringLiteral("The high scores could not be saved."), saved, lastChance);
    tellInTurn(told, std::move(then));
}

QString HighScoreFlow::saveFailureText(const QString& what, const FileStatus& status, bool lastChance) {
    std::error_code error;
    QString consequence = std::filesystem::exists(followLinks(m_store.file()), error)
                              ? QStringLiteral("The file is left as it was. ")
                              : QString();
    consequence += lastChance ? QStringLiteral("The changes since the last save are lost.")
                              : QStringLiteral(
                                    "The high scores are kept in memory and saved again at the next "
                                    "new score or Reset, and when the game ends.");
    return what + QLatin1Char('\n') + fileAndReason(m_store.file(), status.reason) + QLatin1Char('\n') +
           consequence;
}

// Shows the messages one after the other, then runs `then`. A message closed
// because the program ends on a signal leads nowhere: the program is ending.
void HighScoreFlow::tellInTurn(QStringList texts, std::function<void()> then) {
    if (texts.isEmpty() || !m_asking) {
        if (then) then();
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, QString::fromUtf8(appinfo::title), texts.takeFirst(),
                                QMessageBox::Ok, m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Before the main window is up the message stands alone in the middle of the screen.
    if (!m_window->isVisible())
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            box->move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, box->sizeHint(),
                                          screen->availableGeometry())
                          .topLeft());
    connect(box, &QDialog::finished, this, [this, texts, then] {
        if (m_asking) tellInTurn(texts, then);
    });
    box->open();
}

void HighScoreFlow::stopAsking() {
    m_asking = false;
    for (auto* prompt : m_window->findChildren<QInputDialog*>(QString(), Qt::FindDirectChildrenOnly))
        if (prompt->isVisible()) prompt->accept();
    for (auto* box : m_window->findChildren<QMessageBox*>(QString(), Qt::FindDirectChildrenOnly))
        if (box->isVisible()) box->reject();
}

void HighScoreFlow::tellIfChanged(const HighScoreTable& before) {
    if (table() != before) emit tableChanged(table());
}

}  // namespace stonerush
