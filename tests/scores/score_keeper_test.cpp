// Where the file goes, what the player is told when it cannot be used, and the
// name prompt at the end of a game.
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include "platform/app_info.h"
#include "platform/prompt.h"
#include "scores/score_keeper.h"
#include "tests/support/offscreen_main.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A keeper in a scratch folder whose messages are collected instead of shown.
// "plain" is a regular file: nothing can be written under it, even by root.
struct Keeper {
    explicit Keeper(const QString& userDir = QStringLiteral("user")) {
        QFile plain(dir.filePath("plain"));
        (void)plain.open(QIODevice::WriteOnly);
        keeper.SetUserDataDirectory(dir.filePath(userDir));
        keeper.SetReporter([this](const QString& text) { messages << text; });
    }
    QTemporaryDir dir;
    ScoreKeeper keeper;
    QStringList messages;
};

}  // namespace

class ScoreKeeperTest : public QObject {
    Q_OBJECT
private slots:
    void createsThenLoadsTheFileBesideTheProgram() {
        Keeper k;
        k.keeper.StartUp(k.dir.path());
        QCOMPARE(k.keeper.FilePath(), k.dir.filePath("rushhs.dat"));
        QCOMPARE(ReadAll(k.keeper.FilePath()),
                 (QByteArray("None") + QByteArray(21, ' ') + QByteArray(4, 0)).repeated(10));
        k.keeper.SetNamePrompt([] { return QStringLiteral("Zoë “Z”"); });
        k.keeper.EnterHighScore(1234);  // saved at once

        ScoreKeeper again;
        again.StartUp(k.dir.path());
        QCOMPARE(again.Table(), k.keeper.Table());
        QCOMPARE(ReadAll(k.keeper.FilePath()).left(7), QByteArray("Zo\xEB \x93Z\x94"));
        QVERIFY(k.messages.isEmpty());
        QVERIFY(!QDir(k.dir.filePath("user")).exists());
    }

    void unwritableProgramFolderFallsBackToPerUserFolder() {
        Keeper k(QStringLiteral("share/stonerush"));
        k.keeper.StartUp(k.dir.filePath("plain/program"));
        QCOMPARE(k.keeper.FilePath(), k.dir.filePath("share/stonerush/rushhs.dat"));
        QCOMPARE(ReadAll(k.keeper.FilePath()).size(), 290);
        QVERIFY(k.keeper.SaveHighScores());
        QVERIFY(k.messages.isEmpty());
    }

    void installedCopyKeepsScoresPerUserEvenForRoot() {
        Keeper k(QStringLiteral("share/stonerush"));
        const QString installed =
            k.dir.filePath(QStringLiteral("prefix/") + app_info::InstalledProgramFolder);
        QVERIFY(QDir().mkpath(installed));
        k.keeper.StartUp(installed);
        QCOMPARE(k.keeper.FilePath(), k.dir.filePath("share/stonerush/rushhs.dat"));
        QCOMPARE(QDir(installed).entryList(QDir::Files), QStringList{});
        QVERIFY(k.messages.isEmpty());
    }

    void nowhereToWriteIsReportedAndPlayGoesOn() {
        Keeper k(QStringLiteral("plain/user"));
        k.keeper.StartUp(k.dir.filePath("plain/program"));
        QCOMPARE(k.messages.size(), 1);
        QVERIFY(k.messages[0].contains(k.dir.filePath("plain/program/rushhs.dat")));
        QVERIFY(k.messages[0].contains(k.dir.filePath("plain/user/rushhs.dat")));
        QVERIFY2(k.messages[0].contains(QString::fromLocal8Bit(std::strerror(ENOTDIR))),
                 qPrintable(k.messages[0]));
        QCOMPARE(k.keeper.Table(), HighScoreTable{});

        QVERIFY(!k.keeper.SaveHighScores());  // already told
        QCOMPARE(k.messages.size(), 1);
        QVERIFY(!k.keeper.SaveHighScores(/*lastChance=*/true));
        QCOMPARE(k.messages.size(), 2);
        QVERIFY(k.messages[1].contains("could not be saved"));
        QVERIFY(k.messages[1].contains(k.keeper.FilePath()));
    }

    // A failed save after a change is told once and tried again at the next change.
    void failedSaveIsToldOnceAndRetried() {
        Keeper k;
        const QString game = k.dir.filePath("game");
        QVERIFY(QDir().mkpath(game));
        k.keeper.StartUp(game);
        k.keeper.SetNamePrompt([] { return QStringLiteral("Ann"); });
        QVERIFY(QDir(game).removeRecursively());
        k.keeper.EnterHighScore(10);
        k.keeper.EnterHighScore(20);
        QCOMPARE(k.messages.size(), 1);
        QVERIFY2(k.messages[0].contains("saved again at the next new score"), qPrintable(k.messages[0]));
        QVERIFY(QDir().mkpath(game));
        k.keeper.EnterHighScore(30);
        QCOMPARE(ReadAll(k.keeper.FilePath()).mid(25, 4), QByteArray("\x1e\0\0\0", 4));
        QCOMPARE(ReadAll(k.keeper.FilePath()).mid(54, 4), QByteArray("\x14\0\0\0", 4));
        QCOMPARE(k.messages.size(), 1);
    }

    // A file that could not be read is told once and never saved over.
    void unreadableFileIsNeverSavedOver() {
        Keeper k(QStringLiteral("plain/user"));
        QVERIFY(QDir(k.dir.path()).mkdir("rushhs.dat"));  // the file's place is taken by a folder
        k.keeper.StartUp(k.dir.path());
        QCOMPARE(k.messages.size(), 2);  // cannot be written anywhere, and cannot be read
        QVERIFY(k.messages[1].contains("could not be read"));
        QVERIFY(k.messages[1].contains("not saved to it"));
        QVERIFY(k.messages[1].contains(k.dir.filePath("rushhs.dat")));
        k.keeper.SetNamePrompt([] { return QStringLiteral("Ann"); });
        k.keeper.EnterHighScore(5);
        QVERIFY(!k.keeper.SaveHighScores(/*lastChance=*/true));
        QCOMPARE(k.messages.size(), 2);
        QCOMPARE(k.keeper.Table().Entry(1).PlayerScore, 5);
    }

    // The real prompt: its title, message and empty default; OK, Cancel, and
    // the end of the program (a signal), which keeps the text typed so far.
    void realPromptTakesTheNameOrNothing_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("OK") << "OK" << QByteArray("Ann <i>                  ");
        QTest::newRow("Cancel") << "Cancel" << QByteArray(25, ' ');
        QTest::newRow("signal") << "signal" << QByteArray("Ann <i>                  ");
    }
    void realPromptTakesTheNameOrNothing() {
        QFETCH(QString, answer);
        QFETCH(QByteArray, stored);
        Keeper k;
        k.keeper.StartUp(k.dir.path());
        QString seen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            seen = dialog->windowTitle() + "|" + dialog->labelText() + "|" + dialog->textValue();
            dialog->setTextValue(QStringLiteral("Ann <i>"));
            if (answer == "signal") QVERIFY(AcceptOpenPrompt());
            answer == "OK" ? dialog->accept() : answer == "Cancel" ? dialog->reject() : void();
        });
        k.keeper.EnterHighScore(0);
        QCOMPARE(seen, QStringLiteral("High Score!|Please Enter Your Name|"));
        QCOMPARE(QByteArray::fromStdString(k.keeper.Table().Entry(1).PlayerName), stored);
        QCOMPARE(ReadAll(k.keeper.FilePath()).left(25), stored);
        QVERIFY(!AcceptOpenPrompt());
    }
};

STONERUSH_QTEST_MAIN(ScoreKeeperTest)
#include "score_keeper_test.moc"
