// The high scores as the player meets them: where the file goes, the saves at each change and Reset,
// what the player is told of a file that cannot be used, the name prompt, and nothing left waiting
// once a signal ends the game. The prompt and the messages are the real dialogs, answered here as
// a player answers them.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <filesystem>
#include <optional>

#include "mainwindow/high_score_flow.h"
#include "platform/app_info.h"
#include "scores/as_ordinary_user.h"
#include "support/offscreen_main.h"

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

}  // namespace

// Each test has a new folder open to every user and a window for the dialogs. "plain" is a regular
// file: nothing can be made under it, even by root.
class HighScoreFlowTest : public QObject {
    Q_OBJECT
    std::optional<QTemporaryDir> dir;
    std::optional<QWidget> window;
    QString path(const QString& name) const { return dir->filePath(name); }

    std::unique_ptr<HighScoreFlow> flow(const QString& program, const QString& user = "user") {
        return std::make_unique<HighScoreFlow>(&*window, path(program), path(user));
    }
    QInputDialog* prompt() {
        for (auto* open : window->findChildren<QInputDialog*>("namePrompt"))
            if (open->isVisible()) return open;
        return nullptr;
    }
    // A game over with this score, and the name typed into the prompt if one opens; whether one did.
    bool enter(HighScoreFlow& keeper, int32_t score, const QString& name = "Ann") {
        keeper.enterScore(score);
        QInputDialog* open = prompt();
        return open && (open->setTextValue(name), open->accept(), true);
    }
    // Every message told, read and closed with OK, in turn.
    QStringList messages() {
        QStringList read;
        for (bool more = true; more;) {
            more = false;
            for (auto* box : window->findChildren<QMessageBox*>())
                if (box->isVisible()) read << box->text(), box->accept(), more = true;
        }
        return read;
    }

private slots:
    void init() {
        dir.emplace();
        window.emplace();
        std::filesystem::permissions(dir->path().toStdString(), std::filesystem::perms::all);
        QVERIFY(writeFile(path("plain"), {}));
    }
    void cleanup() { window.reset(); }

    // Each entry and Reset reach the file at once, merged with another copy's entries; a score the
    // table on disk has no room for asks nothing.
    void savesEachNewEntryAndReset() {
        const auto keeper = flow("."), other = flow(".");
        QSignalSpy changes(keeper.get(), &HighScoreFlow::tableChanged);
        QVERIFY(enter(*keeper, 500) && enter(*keeper, 300));
        QCOMPARE(readAll(path("rushhs.dat")).left(58), ann("\xF4\x01\0\0") + ann("\x2C\x01\0\0"));
        QVERIFY(enter(*other, 700, "Bob") && enter(*keeper, 400));
        QCOMPARE(formatScoreLine(keeper->table(), 1), "#1: Bob" + std::string(22, ' ') + " 700");
        QCOMPARE(formatScoreLine(keeper->table(), 3), "#3: Ann" + std::string(22, ' ') + " 400");
        for (int i = 0; i < 10; ++i) enter(*other, 800, "Bob");
        QVERIFY(!enter(*keeper, 750));  // not asked: the table on disk is full of better scores
        changes.clear();
        keeper->reset();
        QCOMPARE(readAll(path("rushhs.dat")), defaultFile);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes[0][0].value<HighScoreTable>(), HighScoreTable{});
        QVERIFY(messages().isEmpty());
    }

    // The scores go to the per-user file: without a word for an installed copy or a folder that
    // takes no file; with one message naming it, why and where the scores go instead for something
    // beside the program that is no readable file, which is left as it was. The message is read
    // before the game goes on.
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
            const auto keeper = flow(program);
            bool goesOn = false;
            keeper->tellStartUpProblems([&] { goesOn = true; });
            const bool waits = !goesOn;
            const QStringList told = messages();
            enter(*keeper, 500);
            const bool toldOnce = told.size() == 1 && told[0].contains(odd + "\n") &&
                                  told[0].contains(reason) && told[0].contains(perUser) && waits;
            return goesOn && (reason.isEmpty() ? told.isEmpty() : toldOnce) && messages().isEmpty() &&
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
        QVERIFY(told == "memory only" || QDir().mkpath(path("game")));
        const auto keeper = flow("game", "plain/user");  // nor any per-user file
        keeper->tellStartUpProblems([] {});
        QStringList read = messages();
        QVERIFY(QDir(path("game")).removeRecursively());
        enter(*keeper, 10);
        read << messages();
        enter(*keeper, 20);
        bool ended = false;
        keeper->saveAtEnd([&] { ended = true; });
        QVERIFY(ended && messages().isEmpty());
        QCOMPARE(read.size(), 1);
        QVERIFY(read[0].contains(path("game/rushhs.dat")) && read[0].contains(told));
        QVERIFY(!read[0].contains("left as it was"));
        QVERIFY(QDir().mkpath(path("game")) && enter(*keeper, 30));
        QCOMPARE(readAll(path("game/rushhs.dat")).left(87),
                 ann("\x1e\0\0\0") + ann("\x14\0\0\0") + ann("\x0a\0\0\0"));
        QVERIFY(messages().isEmpty());
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
        flow(".");
        names.last() = "plain";  // the leftover of the process that is gone goes
        names << "rushhs.dat";
        names.sort();
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), names);
    }

    // The prompt: OK, Cancel (the score goes in without a name), and the end of the program (a
    // signal), which keeps the text typed so far.
    void promptTakesTheNameOrNothing_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("OK") << QByteArray("Ann <i>                  ");
        QTest::newRow("Cancel") << QByteArray(25, ' ');
        QTest::newRow("signal") << QByteArray("Ann <i>                  ");
    }
    void promptTakesTheNameOrNothing() {
        QFETCH(QByteArray, stored);
        const QString answer = QTest::currentDataTag();
        const auto keeper = flow(".");
        keeper->enterScore(1);
        QVERIFY(prompt());
        QCOMPARE(prompt()->windowTitle(), "High Score!");
        QCOMPARE(prompt()->labelText(), "Please Enter Your Name");
        QVERIFY(prompt()->isModal());
        prompt()->setTextValue(QStringLiteral("Ann <i>"));
        answer == "OK" ? prompt()->accept() : answer == "Cancel" ? prompt()->reject() : keeper->stopAsking();
        QCOMPARE(readAll(path("rushhs.dat")).left(25), stored);
        QVERIFY(!prompt());
    }

    // A signal while the warning about a failed save is open closes it, and the end goes on at once.
    void stopAskingClosesTheWarning() {
        QVERIFY(QDir().mkpath(path("game")));
        const auto keeper = flow("game");
        QVERIFY(QDir(path("game")).removeRecursively() && enter(*keeper, 10));
        const QPointer<QMessageBox> box = window->findChild<QMessageBox*>();
        QVERIFY(box && box->isVisible());
        keeper->stopAsking();
        bool ended = false;
        keeper->saveAtEnd([&] { ended = true; });
        QVERIFY(ended && messages().isEmpty());
        QTRY_VERIFY(box.isNull());
    }
};

}  // namespace stonerush

STONERUSH_QTEST_MAIN(stonerush::HighScoreFlowTest)
#include "high_score_flow_test.moc"
