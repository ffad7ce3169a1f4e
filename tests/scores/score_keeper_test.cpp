// The keeper of the table: where the file goes, the saves at each change and at the window's
// Reset, what the player is told when the file cannot be used, the name prompt.
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <optional>

#include "as_ordinary_user.h"
#include "platform/app_info.h"
#include "platform/prompt.h"
#include "platform/side_window_host.h"
#include "scores/form3.h"
#include "scores/score_keeper.h"
#include "support/offscreen_main.h"

namespace {

const QByteArray kDefaultFile = (QByteArray("None") + QByteArray(21, ' ') + QByteArray(4, 0)).repeated(10);
QByteArray Ann(const char (&score)[5]) {
    return "Ann" + QByteArray(22, ' ') + QByteArray(score, 4);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct NoMainWindow : SideWindowHost {
    void PauseRunningGame() override {}
    void SetMainWindowEnabled(bool) override {}
};

}  // namespace

// Each test has a keeper in a new folder open to every user, its messages collected and the
// player called "Ann". "plain" is a regular file: nothing can be made under it, even by root.
class ScoreKeeperTest : public QObject {
    Q_OBJECT
    std::optional<QTemporaryDir> dir;
    std::optional<ScoreKeeper> keeper;
    QStringList messages;
    QString Path(const QString& name) const { return dir->filePath(name); }

private slots:
    void init() {
        dir.emplace();
        std::filesystem::permissions(dir->path().toStdString(), std::filesystem::perms::all);
        QFile plain(Path("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        messages.clear();
        keeper.emplace();
        keeper->SetUserDataDirectory(Path("user"));
        keeper->SetReporter([this](const QString& text) { messages << text; });
        keeper->SetNamePrompt([] { return QStringLiteral("Ann"); });
    }
    void savesEachNewEntryAndReset() {
        keeper->StartUp(dir->path());
        QCOMPARE(keeper->FilePath(), Path("rushhs.dat"));
        keeper->EnterHighScore(500);
        keeper->EnterHighScore(300);
        QCOMPARE(ReadAll(keeper->FilePath()).left(58), Ann("\xF4\x01\0\0") + Ann("\x2C\x01\0\0"));
        NoMainWindow host;
        Form3 form(keeper->Table(), host);
        connect(&form, &Form3::TableReset, [this] { keeper->SaveHighScores(); });  // as the main window does
        QCOMPARE(form.ScoreView(2)->textFormat(),
                 Qt::PlainText);  // a name is shown as typed, never as markup
        QTest::mouseClick(form.Command1(), Qt::LeftButton);
        QCOMPARE(ReadAll(keeper->FilePath()), kDefaultFile);
        QCOMPARE(form.ScoreView(1)->text().toStdString(), FormatScoreLine(HighScoreTable{}, 1));
        QVERIFY(messages.isEmpty());
    }

    void perUserFile_data() {
        QTest::addColumn<QString>("program");
        QTest::newRow("installed, even for root")
            << QStringLiteral("prefix/") + app_info::InstalledProgramFolder;
        QTest::newRow("no file can be made there") << QStringLiteral("plain/program");
    }
    void perUserFile() {
        QFETCH(QString, program);
        QDir().mkpath(Path(program));
        keeper->StartUp(Path(program));
        QCOMPARE(keeper->FilePath(), Path("user/rushhs.dat"));
        QCOMPARE(ReadAll(keeper->FilePath()), kDefaultFile);
        QVERIFY(!QFile::exists(Path(program + "/rushhs.dat")));
        QVERIFY(messages.isEmpty());
    }

    // A file that may be written but not read: told once, never saved over.
    void unreadableFileIsToldOnceAndNeverSavedOver() {
        const QByteArray before = QByteArray(290, 'o') + "tail";
        QFile file(Path("rushhs.dat"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        file.close();
        QVERIFY(file.setPermissions(QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
        QVERIFY(AsOrdinaryUser([this] {
            keeper->StartUp(dir->path());
            keeper->EnterHighScore(500);
            keeper->SaveHighScores(/*lastChance=*/true);
            return messages.size() == 1 && messages[0].contains(Path("rushhs.dat")) &&
                   keeper->Table().Entry(1).PlayerScore == 500;
        }));
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(ReadAll(file.fileName()), before);
    }

    // A failed save is told once (and again when the program ends) and tried
    // again at the next change.
    void failedSaveIsToldOnceAndRetried() {
        QVERIFY(QDir().mkpath(Path("game")));
        keeper->StartUp(Path("game"));
        QVERIFY(QDir(Path("game")).removeRecursively());
        keeper->EnterHighScore(10);
        keeper->EnterHighScore(20);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(keeper->FilePath()));
        QVERIFY(!keeper->SaveHighScores(/*lastChance=*/true));
        QCOMPARE(messages.size(), 2);
        QVERIFY(QDir().mkpath(Path("game")));
        keeper->EnterHighScore(30);
        QCOMPARE(ReadAll(keeper->FilePath()).left(58), Ann("\x1e\0\0\0") + Ann("\x14\0\0\0"));
        QCOMPARE(messages.size(), 2);
    }

    // The real prompt: OK, Cancel, and the end of the program (a signal), which
    // keeps the text typed so far.
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
        keeper.emplace();  // with the real prompt
        keeper->StartUp(dir->path());
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->setTextValue(QStringLiteral("Ann <i>"));
            if (answer == "signal") QVERIFY(AcceptOpenPrompt());
            answer == "OK" ? dialog->accept() : answer == "Cancel" ? dialog->reject() : void();
        });
        keeper->EnterHighScore(0);
        QCOMPARE(ReadAll(keeper->FilePath()).left(25), stored);
        QVERIFY(!AcceptOpenPrompt());
    }
};

STONERUSH_QTEST_MAIN(ScoreKeeperTest)
#include "score_keeper_test.moc"
