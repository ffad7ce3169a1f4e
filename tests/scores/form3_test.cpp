// The high-score window against a stand-in main window.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWindow>
#include <vector>

#include "platform/side_window_host.h"
#include "scores/form3.h"
#include "tests/support/offscreen_main.h"

namespace {

// Records what the window asks of the main window, in order.
class FakeHost : public SideWindowHost {
public:
    void PauseRunningGame() override { calls.push_back("pause"); }
    void SetMainWindowEnabled(bool enabled) override { calls.push_back(enabled ? "enable" : "disable"); }
    std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

void ProcessDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class Form3Test : public QObject {
    Q_OBJECT
private slots:
    // Load: pause, then disable the main window; the lines are the table's,
    // shown as plain text, and the longest line a game can leave fits its label.
    void loadPausesDisablesAndShowsReadableLines() {
        HighScoreTable table;
        table.Entry(1) = {PlayerNameFromText("WWWWWWWWWWWWWWWWWWWWWWWWW"), 999999};
        table.Entry(4) = {PlayerNameFromText("<b>Zoë</b>"), -7};
        FakeHost host;
        QPointer<Form3> form = new Form3(table, host);
        QCOMPARE(host.calls, (Calls{"pause", "disable"}));
        QVERIFY(form->isVisible() && form->parentWidget() == nullptr);
        QCOMPARE(form->windowTitle(), QStringLiteral("High Scores"));
        QCOMPARE(form->height(), 275);
        for (int i = 1; i <= 10; ++i) {
            QLabel* label = form->ScoreView(i);
            QCOMPARE(label->text(), QString::fromStdString(FormatScoreLine(table, i)));
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
            QVERIFY(label->fontMetrics().height() <= label->height());
            QVERIFY(label->geometry().right() < form->width());
        }
        QCOMPARE(form->ScoreView(4)->text(), QStringLiteral("#4: <b>Zoë</b>                -7"));
        QCOMPARE(form->Command1()->text(), QStringLiteral("Reset"));
        QCOMPARE(form->Command2()->text(), QStringLiteral("Close"));
        QCOMPARE(form->Command1()->nextInFocusChain(), form->Command2());
        for (QPushButton* button : {form->Command1(), form->Command2()}) {
            QVERIFY(button->fontMetrics().height() <= button->height());
            QVERIFY(button->fontMetrics().horizontalAdvance(button->text()) < button->width());
        }
        form->close();
        ProcessDeletions();
    }

    void resetEmptiesTableAndLinesButStaysOpen() {
        HighScoreTable table;
        for (int i = 1; i <= 10; ++i) table.Entry(i) = {PlayerNameFromText("Ann"), 1000 - i};
        FakeHost host;
        QPointer<Form3> form = new Form3(table, host);
        bool emptiedWhenTold = false;  // the main window saves the table then
        QObject::connect(form, &Form3::TableReset, [&] { emptiedWhenTold = table == HighScoreTable{}; });
        QTest::mouseClick(form->Command1(), Qt::LeftButton);
        QVERIFY(emptiedWhenTold);
        for (int i = 1; i <= 10; ++i) {
            QCOMPARE(form->ScoreView(i)->text(), QStringLiteral("#%1: None                      0").arg(i));
        }
        QVERIFY(form && form->isVisible());
        QCOMPARE(host.calls, (Calls{"pause", "disable"}));
        form->close();
        ProcessDeletions();
    }
};

STONERUSH_QTEST_MAIN(Form3Test)
#include "form3_test.moc"
