// Where the file goes, what the player is told when it cannot be used, and the
// name prompt at the end of a game.
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "scores/score_keeper.h"
#include "tests/support/offscreen_main.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A keeper whose messages are collected instead of shown.
struct Keeper {
    explicit Keeper(const QString& userDir) {
        keeper.SetUserDataDirectory(userDir);
        keeper.SetReporter([this](const QString& text) { messages << text; });
    }
    ScoreKeeper keeper;
    QStringList messages;
};

}  // namespace

class ScoreKeeperTest : public QObject {
    Q_OBJECT
private slots:
    void firstRunCreatesDefaultFileBesideProgram() {
        QTemporaryDir dir;
        Keeper k(dir.filePath("user"));
        k.keeper.StartUp(dir.path());
        QCOMPARE(k.keeper.FilePath(), dir.filePath("rushhs.dat"));
        QByteArray record = QByteArray("None") + QByteArray(21, ' ') + QByteArray(4, '\0');
        QCOMPARE(ReadAll(k.keeper.FilePath()), record.repeated(10));
        QVERIFY(k.messages.isEmpty());
        QVERIFY(!QDir(dir.filePath("user")).exists());
    }

    void laterRunLoadsAndSaveWritesBack() {
        QTemporaryDir dir;
        {
            Keeper k(dir.filePath("user"));
            k.keeper.StartUp(dir.path());
            k.keeper.SetNamePrompt([] { return QStringLiteral("Zoë “Z”"); });
            k.keeper.EnterHighScore(1234);
            QVERIFY(k.keeper.SaveHighScores());
        }
        Keeper k(dir.filePath("user"));
        k.keeper.StartUp(dir.path());
        QCOMPARE(k.keeper.Table().Entry(1).PlayerScore, 1234);
        QCOMPARE(k.keeper.Table().Entry(1).PlayerName, LeftJustifyName("Zo\xEB \x93Z\x94"));
        QCOMPARE(ReadAll(k.keeper.FilePath()).left(7), QByteArray("Zo\xEB \x93Z\x94"));
        QVERIFY(k.messages.isEmpty());
    }

    // An unwritable program folder: here one under a regular file, which even
    // root cannot write to (a 0555 folder would not stop root).
    void unwritableProgramFolderFallsBackToPerUserFolder() {
        QTemporaryDir dir;
        WriteAll(dir.filePath("plain"), "x");
        Keeper k(dir.filePath("share/stonerush"));
        k.keeper.StartUp(dir.filePath("plain/program"));
        QCOMPARE(k.keeper.FilePath(), dir.filePath("share/stonerush/rushhs.dat"));
        QCOMPARE(ReadAll(k.keeper.FilePath()).size(), 290);
        QVERIFY(k.messages.isEmpty());
        QVERIFY(k.keeper.SaveHighScores());
    }

    void nowhereToWriteIsReportedAndPlayGoesOn() {
        QTemporaryDir dir;
        WriteAll(dir.filePath("plain"), "x");
        Keeper k(dir.filePath("plain/user"));
        k.keeper.StartUp(dir.filePath("plain/program"));
        QCOMPARE(k.messages.size(), 1);
        QVERIFY(k.messages[0].contains(dir.filePath("plain/program/rushhs.dat")));
        QVERIFY(k.messages[0].contains(dir.filePath("plain/user/rushhs.dat")));
        QVERIFY2(k.messages[0].contains("Not a directory"), qPrintable(k.messages[0]));
        QCOMPARE(k.keeper.Table(), HighScoreTable{});

        QVERIFY(!k.keeper.SaveHighScores());
        QCOMPARE(k.messages.size(), 2);
        QVERIFY(k.messages[1].contains("could not be saved"));
        QVERIFY(k.messages[1].contains(k.keeper.FilePath()));
    }

    void failedSaveAtExitIsReported() {
        QTemporaryDir dir;
        Keeper k(dir.filePath("user"));
        k.keeper.StartUp(dir.path());
        QVERIFY(QFile::remove(k.keeper.FilePath()));
        QVERIFY(QDir(dir.path()).mkdir("rushhs.dat"));  // the file's place is taken by a folder
        QVERIFY(!k.keeper.SaveHighScores());
        QCOMPARE(k.messages.size(), 1);
        QVERIFY(k.messages[0].contains(k.keeper.FilePath()));
        QVERIFY(k.messages[0].contains("Reason: "));
    }

    void unreadableFileIsReportedAndDefaultsKept() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("rushhs.dat"));  // there, but a folder
        WriteAll(dir.filePath("plain"), "x");
        Keeper k(dir.filePath("plain/user"));
        k.keeper.StartUp(dir.path());
        QCOMPARE(k.messages.size(), 2);
        QVERIFY(k.messages[1].contains("could not be read"));
        QVERIFY(k.messages[1].contains(dir.filePath("rushhs.dat")));
        QCOMPARE(k.keeper.Table(), HighScoreTable{});
    }

    void promptAsksOnlyForQualifyingScores() {
        QTemporaryDir dir;
        Keeper k(dir.filePath("user"));
        k.keeper.StartUp(dir.path());
        int asked = 0;
        k.keeper.SetNamePrompt([&asked] {
            ++asked;
            return QStringLiteral("Ann");
        });
        for (int i = 1; i <= 10; ++i) k.keeper.EnterHighScore(100 * i);
        QCOMPARE(asked, 10);
        k.keeper.EnterHighScore(99);
        QCOMPARE(asked, 10);
        QCOMPARE(k.keeper.Table().Entry(1).PlayerScore, 1000);
        QCOMPARE(k.keeper.Table().Entry(10).PlayerScore, 100);
    }

    // The real prompt: its title, message and empty default; OK and Cancel.
    void realPromptTakesTheNameOrNothing_data() {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("OK") << true << QByteArray("Ann <i>                  ");
        QTest::newRow("Cancel") << false << QByteArray(25, ' ');
    }
    void realPromptTakesTheNameOrNothing() {
        QFETCH(bool, accept);
        QFETCH(QByteArray, stored);
        QTemporaryDir dir;
        Keeper k(dir.filePath("user"));
        k.keeper.StartUp(dir.path());
        QString title, message, preset;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            title = dialog->windowTitle();
            message = dialog->labelText();
            preset = dialog->textValue();
            dialog->setTextValue(QStringLiteral("Ann <i>"));
            accept ? dialog->accept() : dialog->reject();
        });
        k.keeper.EnterHighScore(0);
        QCOMPARE(title, QStringLiteral("High Score!"));
        QCOMPARE(message, QStringLiteral("Please Enter Your Name"));
        QCOMPARE(preset, QString());
        QCOMPARE(QByteArray::fromStdString(k.keeper.Table().Entry(1).PlayerName), stored);
    }
};

STONERUSH_QTEST_MAIN(ScoreKeeperTest)
#include "score_keeper_test.moc"
