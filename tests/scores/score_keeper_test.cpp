// The keeper of the table: where the file goes, the saves at each change and Reset, what the player is
// told of a file that cannot be used, the name prompt, and nothing left waiting once a signal ends the game.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <optional>

#include "as_ordinary_user.h"
#include "platform/app_info.h"
#include "scores/high_score_window.h"
#include "scores/score_keeper.h"
#include "support/offscreen_main.h"
#include "windows/side_window_host.h"

namespace stonerush {
namespace {

const QByteArray defaultFile = (QByteArray("None") + QByteArray(21, ' ') + QByteArray(4, 0)).repeated(10);
QByteArray ann(const char (&score)[5]) {
    return QByteArray("Ann").leftJustified(25, ' ') + QByteArray(score, 4);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct NoMainWindow : SideWindowHost {
    void pauseRunningGame() override {}
    void setMainWindowEnabled(bool) override {}
};

}  // namespace

// Each test has a keeper in a new folder open to every user, its messages collected and the
// player called "Ann". "plain" is a regular file: nothing can be made under it, even by root.
class ScoreKeeperTest : public QObject {
    Q_OBJECT
    std::optional<QTemporaryDir> dir;
    std::optional<ScoreKeeper> keeper;
    QStringList messages, asked;  // messages told, names asked for
    QString path(const QString& name) const { return dir->filePath(name); }

    void makeKeeper(ScoreKeeper& made, const QString& name) {
        made.setUserDataDirectory(path("user"));
        made.setReporter([this](const QString& text) { messages << text; });
        made.setNamePrompt([this, name] { return asked << name, name; });
    }

private slots:
    void init() {
        dir.emplace();
        std::filesystem::permissions(dir->path().toStdString(), std::filesystem::perms::all);
        QVERIFY(writeFile(path("plain"), {}));
        messages.clear(), asked.clear();
        makeKeeper(keeper.emplace(), "Ann");
    }

    // Each entry and Reset reach the file; an open window shows the table merged with another
    // copy's entry at the next save.
    void savesEachNewEntryAndReset() {
        keeper->startUp(dir->path());
        QCOMPARE(keeper->filePath(), path("rushhs.dat"));
        keeper->enterHighScore(500);
        keeper->enterHighScore(300);
        QCOMPARE(readAll(keeper->filePath()).left(58), ann("\xF4\x01\0\0") + ann("\x2C\x01\0\0"));
        NoMainWindow host;
        HighScoreWindow window(*keeper, host);
        QCOMPARE(window.scoreLine(2)->textFormat(), Qt::PlainText);  // names as typed, never markup
        ScoreKeeper other;
        makeKeeper(other, "Bob");
        other.startUp(dir->path());
        other.enterHighScore(700);
        keeper->enterHighScore(400);
        QCOMPARE(window.scoreLine(1)->text(), QStringLiteral("#1: Bob%1 700").arg(QString(22, ' ')));
        QCOMPARE(window.scoreLine(3)->text(), QStringLiteral("#3: Ann%1 400").arg(QString(22, ' ')));
        for (int i = 0; i < 10; ++i) other.enterHighScore(800);
        keeper->enterHighScore(750);  // not asked: the table on disk is full of better scores
        QCOMPARE(asked.count("Ann"), 3);
        QTest::mouseClick(window.resetButton(), Qt::LeftButton);
        QCOMPARE(readAll(keeper->filePath()), defaultFile);
        QCOMPARE(window.scoreLine(1)->text().toStdString(), formatScoreLine(HighScoreTable{}, 1));
        QVERIFY(messages.isEmpty());
    }

    // The scores go to the per-user file: without a word for an installed copy or a folder that
    // takes no file; with one message naming it, why and where the scores go instead for something
    // beside the program that is no readable file, which is left as it was.
    void perUserFile_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("beside");  // what lies beside the program as rushhs.dat
        QTest::addColumn<QString>("reason");  // empty: nothing is told
        const auto row = [](const char* name, QString program, QString beside, QString reason) {
            QTest::newRow(name) << program << beside << reason;
        };
        row("installed, even for root", "prefix/" + QString(appinfo::installedProgramFolder), "", "");
        row("no file can be made there", "plain/program", "", "");
        row("write-only file", ".", "file", "Permission denied");
        row("FIFO", ".", "fifo", "named pipe");
        row("folder", ".", "folder", "folder");
    }
    void perUserFile() {
        QFETCH(QString, program);
        QFETCH(QString, beside);
        QFETCH(QString, reason);
        QDir().mkpath(path(program));
        const QString odd = path(program + "/rushhs.dat"), perUser = path("user/rushhs.dat");
        const QByteArray before = defaultFile + "tail";
        if (beside == "file")
            QVERIFY(writeFile(odd, before) && QFile::setPermissions(odd, QFile::WriteOther));
        if (beside == "fifo") QCOMPARE(::mkfifo(qPrintable(odd), 0666), 0);
        if (beside == "folder") QVERIFY(QDir().mkdir(odd));
        const auto checks = [&] {  // as an ordinary user where root could read the file
            keeper->startUp(path(program));
            keeper->enterHighScore(500);
            keeper->saveHighScores(/*lastChance=*/true);
            const bool told = messages.size() == 1 && messages[0].contains(odd + "\n") &&
                              messages[0].contains(reason) && messages[0].contains(perUser);
            return keeper->filePath() == perUser && (reason.isEmpty() ? messages.isEmpty() : told) &&
                   readAll(perUser).startsWith(ann("\xF4\x01\0\0"));
        };
        QVERIFY(beside == "file" ? asOrdinaryUser(checks) : checks());
        QVERIFY(QFile::setPermissions(odd, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ==
                !beside.isEmpty());
        QCOMPARE(QFileInfo(odd).isDir(), beside == "folder");
        if (beside != "fifo") QCOMPARE(readAll(odd), beside == "file" ? before : QByteArray());
    }

    // Saving that fails is told once in the session (a start with nowhere to save tells it), with
    // words true for a file that is not there, and tried again at the next change.
    void failedSaveIsToldOnceAndRetried_data() {
        QTest::addColumn<QString>("told");
        QTest::newRow("the folder goes after the start") << "saved again";
        QTest::newRow("nowhere to save from the start") << "memory only";
    }
    void failedSaveIsToldOnceAndRetried() {
        QFETCH(QString, told);
        keeper->setUserDataDirectory(path("plain/user"));  // nor any per-user file
        QVERIFY(told == "memory only" || QDir().mkpath(path("game")));
        keeper->startUp(path("game"));
        QVERIFY(QDir(path("game")).removeRecursively());
        keeper->enterHighScore(10);
        keeper->enterHighScore(20);
        QVERIFY(!keeper->saveHighScores(/*lastChance=*/true));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(path("game/rushhs.dat")) && messages[0].contains(told));
        QVERIFY(!messages[0].contains("left as it was"));
        QVERIFY(QDir().mkpath(path("game")));
        keeper->enterHighScore(30);
        QCOMPARE(readAll(keeper->filePath()).left(87),
                 ann("\x1e\0\0\0") + ann("\x14\0\0\0") + ann("\x0a\0\0\0"));
        QCOMPARE(messages.size(), 1);
    }

    // Temporary files of saves that were cut short by a kill go at the next start; those of a
    // running process, and files only named alike, stay.
    void leftoversOfInterruptedSavesGo() {
        const pid_t gone = ::fork();
        if (gone == 0) ::_exit(0);
        ::waitpid(gone, nullptr, 0);
        QStringList names{"rushhs.dat.gone-x", "other.dat.gone-0", "rushhs.dat.self-7", "rushhs.dat.gone-0"};
        names.replaceInStrings("gone", QString::number(gone))
            .replaceInStrings("self", QString::number(::getpid()));
        for (const QString& name : names) QFile(path(name)).open(QIODevice::WriteOnly);
        keeper->startUp(dir->path());
        names.last() = "plain";  // the leftover of the process that is gone goes
        names << "rushhs.dat";
        names.sort();
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), names);
    }

    // The real prompt: OK, Cancel, and the end of the program (a signal), which keeps the
    // text typed so far.
    void realPromptTakesTheNameOrNothing_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("OK") << QByteArray("Ann <i>                  ");
        QTest::newRow("Cancel") << QByteArray(25, ' ');
        QTest::newRow("signal") << QByteArray("Ann <i>                  ");
    }
    void realPromptTakesTheNameOrNothing() {
        QFETCH(QByteArray, stored);
        const QString answer = QTest::currentDataTag();
        keeper.emplace();  // with the real prompt
        keeper->startUp(dir->path());
        QObject context;
        QTimer::singleShot(0, &context, [&] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->setTextValue(QStringLiteral("Ann <i>"));
            if (answer == "signal") QVERIFY(keeper->stopAsking());
            answer == "OK" ? dialog->accept() : answer == "Cancel" ? dialog->reject() : void();
        });
        keeper->enterHighScore(0);
        QCOMPARE(readAll(keeper->filePath()).left(25), stored);
    }

    // A signal while the warning about a failed save is open closes it, and no message
    // waits for a person afterwards.
    void stopAskingClosesTheWarning() {
        keeper.emplace();  // with the real message box
        keeper->setNamePrompt([] { return QStringLiteral("Ann"); });
        QVERIFY(QDir().mkpath(path("game")));
        keeper->startUp(path("game"));
        QVERIFY(QDir(path("game")).removeRecursively());
        int boxes = 0;
        QObject context;
        QTimer::singleShot(0, &context, [&] {
            boxes += qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
            QVERIFY(keeper->stopAsking());
        });
        keeper->enterHighScore(10);
        QTimer::singleShot(0, &context, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) ++boxes, box->close();
        });
        QVERIFY(!keeper->saveHighScores(/*lastChance=*/true));
        QCOMPARE(boxes, 1);
        QVERIFY(!keeper->stopAsking());
    }
};

}  // namespace stonerush

STONERUSH_QTEST_MAIN(stonerush::ScoreKeeperTest)
#include "score_keeper_test.moc"
