// Where every control of the main window sits, at its pixel position and
// size, and the menus with their mnemonics and shortcut keys.
#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "mainwindow/form1.h"
#include "platform/picture_box.h"

namespace {

constexpr QSize ClientSize(319, 302);

// A thin separator line drawn beneath the labels.
class SeparatorLine : public QWidget {
public:
    SeparatorLine(QWidget* parent, int x1, int x2, int y) : QWidget(parent) {
        setGeometry(x1, y - 1, x2 - x1 + 1, 2);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(0, 0, width(), 0);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(0, 1, width(), 1);
    }
};

// The game's sans font at a pixel size; Liberation Sans keeps the narrow
// proportions the layout was drawn for, DejaVu Sans is the fallback.
QFont SansFont(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Shrinks the font of a control until the widest text it will show fits in it.
void FitFont(QWidget* control, QFont font, std::initializer_list<QString> texts) {
    for (;;) {
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
        if ((widest <= control->width() - 4 && metrics.height() <= control->height()) ||
            font.pixelSize() <= 8)
            break;
        font.setPixelSize(font.pixelSize() - 1);
    }
    control->setFont(font);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setTextFormat(Qt::PlainText);
    return label;
}

PictureBox* HiddenPicture(QWidget* parent, const char* resource) {
    auto* box = new PictureBox(QImage(QString::fromLatin1(resource)), parent);
    box->hide();
    return box;
}

}  // namespace

void Form1::BuildControls(QWidget* client) {
    client->setFixedSize(ClientSize);

    // Pictures that only store images, never shown.
    mainsrc = HiddenPicture(client, ":/assets/mainsrc.png");
    mainpsrc = HiddenPicture(client, ":/assets/mainpsrc.png");
    game_over_pic = HiddenPicture(client, ":/assets/game_over_pic.png");
    nextsrc = HiddenPicture(client, ":/assets/nextsrc.png");
    nextpsrc = HiddenPicture(client, ":/assets/nextpsrc.png");
    bloxsrc = HiddenPicture(client, ":/assets/bloxsrc.png");
    nbloxsrc = HiddenPicture(client, ":/assets/nbloxsrc.png");

    // Labels and lines lie beneath the windowed controls.
    const QFont counterFont = SansFont(18);  // 13.5 pt
    Label1 = MakeLabel(client, QStringLiteral("SCORE:"), {168, 0, 73, 25});
    scorelabel = MakeLabel(client, QStringLiteral("000000"), {248, 0, 65, 25});
    Label3 = MakeLabel(client, QStringLiteral("SPEED:"), {168, 40, 73, 25});
    speed_show = MakeLabel(client, QStringLiteral("0"), {248, 40, 65, 25});
    Label5 = MakeLabel(client, QStringLiteral("LINES:"), {168, 80, 73, 25});
    lcounter = MakeLabel(client, QStringLiteral("0"), {248, 80, 65, 25});
    for (QLabel* name : {Label1, Label3, Label5})
        FitFont(name, counterFont,
                {QStringLiteral("SCORE:"), QStringLiteral("SPEED:"), QStringLiteral("LINES:")});
    for (QLabel* value : {scorelabel, speed_show, lcounter})
        FitFont(value, counterFont, {QStringLiteral("000000")});
    new SeparatorLine(client, 168, 312, 32);
    new SeparatorLine(client, 168, 312, 72);
    new SeparatorLine(client, 168, 312, 248);

    // The pictures the player sees before the first game are the paused ones.
    mainview = new PictureBox(mainpsrc->Picture(), client);
    mainview->move(0, 0);
    nextview = new PictureBox(nextpsrc->Picture(), client);
    nextview->move(168, 112);

    Command1 = new QPushButton(QStringLiteral("START"), client);
    Command1->setGeometry(168, 256, 113, 41);
    FitFont(Command1, SansFont(24), {QStringLiteral("START"), QStringLiteral("PAUSE")});
    Command1->setAutoDefault(false);

    // The starting-speed selector covers the preview between games.
    Frame1 = new QFrame(client);
    Frame1->setGeometry(168, 112, 145, 137);
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame1->setAutoFillBackground(true);  // it hides the preview behind it
    Label4 = MakeLabel(Frame1, QStringLiteral("Starting Speed"), {8, 16, 129, 25});
    speed_select = MakeLabel(Frame1, QStringLiteral("0"), {8, 40, 129, 25});
    for (QLabel* label : {Label4, speed_select}) {
        label->setAlignment(Qt::AlignCenter);
        FitFont(label, SansFont(16, true), {QStringLiteral("Starting Speed")});
    }
    HScroll1 = new QScrollBar(Qt::Horizontal, Frame1);
    HScroll1->setGeometry(8, 104, 129, 25);
    HScroll1->setRange(0, 12);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->setValue(0);

    // Tab order: the two pictures, the button, the scroll bar.
    mainview->setFocusPolicy(Qt::TabFocus);
    nextview->setFocusPolicy(Qt::TabFocus);
    setTabOrder(mainview, nextview);
    setTabOrder(nextview, Command1);
    setTabOrder(Command1, HScroll1);
}

void Form1::BuildMenus() {
    QMenu* game_group = menuBar()->addMenu(QStringLiteral("&Game"));
    Menu_Hiscore = game_group->addAction(QStringLiteral("&High Scores"));
    Menu_Hiscore->setShortcut(Qt::Key_F4);
    Menu_Quit = game_group->addAction(QStringLiteral("&Quit"));
    Menu_Quit->setShortcut(Qt::Key_F3);

    QMenu* Options_Group = menuBar()->addMenu(QStringLiteral("&Options"));
    Menu_Sound = Options_Group->addAction(QStringLiteral("&Sound"));
    Menu_Sound->setShortcut(Qt::CTRL | Qt::Key_S);
    Menu_Music = Options_Group->addAction(QStringLiteral("&Music"));
    Menu_Music->setShortcut(Qt::CTRL | Qt::Key_M);
    for (QAction* option : {Menu_Sound, Menu_Music}) {
        option->setCheckable(true);
        option->setChecked(true);
    }

    QMenu* Help_Group = menuBar()->addMenu(QStringLiteral("&Help"));
    how_to_play = Help_Group->addAction(QStringLiteral("How to &Play..."));
    how_to_play->setShortcut(Qt::Key_F1);
    Menu_About = Help_Group->addAction(QStringLiteral("&About..."));
    Menu_About->setShortcut(Qt::Key_F2);

    // Shortcuts act only while this window is the active one, so a side
    // window that disabled it cannot be opened twice from the keyboard.
    for (QAction* action : {Menu_Hiscore, Menu_Quit, Menu_Sound, Menu_Music, how_to_play, Menu_About})
        action->setShortcutContext(Qt::WindowShortcut);
}
