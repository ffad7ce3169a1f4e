// Where every control of the main window sits, at its pixel position and size
// at 1x (the zoom multiplies them all), and the menus with their mnemonics
// and shortcut keys.
#include <QAction>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

#include "mainwindow/main_window.h"
#include "mainwindow/player_choices.h"
#include "render/grid_view.h"

namespace stonerush {

namespace {

constexpr QSize clientSize(319, 302);

// A separator beneath the labels: a line in the palette's dark shade over
// one in its light shade, each a plain one-pixel frame.
void addSeparator(ZoomedLayout& layout, QWidget* parent, int x1, int x2, int y) {
    for (const auto& [top, role] : {std::pair{y - 1, QPalette::Dark}, {y, QPalette::Light}}) {
        auto* line = new QFrame(parent);
        line->setFrameStyle(QFrame::HLine | QFrame::Plain);
        layout.place(line, {x1, top, x2 - x1 + 1, 1});
        layout.setLineWidth(line, 1);
        QPalette palette = line->palette();
        palette.setColor(QPalette::WindowText, palette.color(role));
        line->setPalette(palette);
    }
}

// The game's sans font at a pixel size; Liberation Sans keeps the narrow
// proportions the layout was drawn for, DejaVu Sans is the fallback.
QFont sansFont(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Shrinks the font of a control until the widest text it will show fits in it.
void fitFont(ZoomedLayout& layout, QWidget* control, QFont font, std::initializer_list<QString> texts) {
    for (;;) {
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
        if ((widest <= control->width() - 4 && metrics.height() <= control->height()) ||
            font.pixelSize() <= 8)
            break;
        font.setPixelSize(font.pixelSize() - 1);
    }
    layout.setFont(control, font);
}

QLabel* makeLabel(ZoomedLayout& layout, QWidget* parent, const char* name, const QString& text,
                  QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    layout.place(label, geometry);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

Zoom MainWindow::startingZoom() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return Zoom();
    // Chosen before the splash, so without building a menu bar (that loads
    // the fonts early and delays the splash by ~10 ms): one of usual height.
    // The window checks the step against its real measure once it exists.
    const WindowMeasure window{clientSize + QSize(0, 24), unframedFrame};
    const QSize available = screen->availableGeometry().size();
    const int step = PlayerChoices::kept().zoomStep.value_or(firstStartZoomStep(window, available));
    return Zoom(std::min(step, largestZoomStep(window, available)));
}

void MainWindow::buildControls(QWidget* client) {
    m_layout.fix(client, clientSize);
    buildCounters(client);

    // Before the first game both views show the paused pictures.
    m_playfield =
        new GridView(boardWidth, boardHeight, QImage(QStringLiteral(":/assets/tiles_16.png")), client);
    m_playfield->setObjectName(QStringLiteral("playfield"));
    m_layout.place(m_playfield, {QPoint(0, 0), m_playfield->sizeHint()});
    m_playfield->showPicture(m_playfieldPaused);
    m_preview =
        new GridView(previewSize, previewSize, QImage(QStringLiteral(":/assets/tiles_32.png")), client);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_layout.place(m_preview, {QPoint(168, 112), m_preview->sizeHint()});
    m_preview->showPicture(m_previewPaused);

    m_startButton = new QPushButton(QStringLiteral("START"), client);
    m_startButton->setObjectName(QStringLiteral("startButton"));
    m_layout.place(m_startButton, {168, 256, 113, 41});
    fitFont(m_layout, m_startButton, sansFont(24), {QStringLiteral("START"), QStringLiteral("PAUSE")});
    m_startButton->setAutoDefault(false);

    buildSpeedPanel(client);

    // Tab order: the two views, the button, the slider.
    m_playfield->setFocusPolicy(Qt::TabFocus);
    m_preview->setFocusPolicy(Qt::TabFocus);
    setTabOrder(m_playfield, m_preview);
    setTabOrder(m_preview, m_startButton);
    setTabOrder(m_startButton, m_speedSlider);
}

// The score, speed and lines rows, with the lines that part them; they lie
// beneath the other controls.
void MainWindow::buildCounters(QWidget* client) {
    const QFont counterFont = sansFont(18);  // 13.5 pt
    const std::initializer_list<QString> captions{QStringLiteral("SCORE:"), QStringLiteral("SPEED:"),
                                                  QStringLiteral("LINES:")};
    auto* scoreCaption =
        makeLabel(m_layout, client, "scoreCaption", QStringLiteral("SCORE:"), {168, 0, 73, 25});
    m_scoreValue = makeLabel(m_layout, client, "scoreValue", QStringLiteral("000000"), {248, 0, 65, 25});
    auto* speedCaption =
        makeLabel(m_layout, client, "speedCaption", QStringLiteral("SPEED:"), {168, 40, 73, 25});
    m_speedValue = makeLabel(m_layout, client, "speedValue", QStringLiteral("0"), {248, 40, 65, 25});
    auto* linesCaption =
        makeLabel(m_layout, client, "linesCaption", QStringLiteral("LINES:"), {168, 80, 73, 25});
    m_linesValue = makeLabel(m_layout, client, "linesValue", QStringLiteral("0"), {248, 80, 65, 25});
    for (QLabel* caption : {scoreCaption, speedCaption, linesCaption})
        fitFont(m_layout, caption, counterFont, captions);
    for (QLabel* value : {m_scoreValue, m_speedValue, m_linesValue})
        fitFont(m_layout, value, counterFont, {QStringLiteral("000000")});
    for (const int y : {32, 72, 248}) addSeparator(m_layout, client, 168, 312, y);
}

// The starting-speed slider, in a panel that covers the preview between games.
void MainWindow::buildSpeedPanel(QWidget* client) {
    m_speedPanel = new QFrame(client);
    m_speedPanel->setObjectName(QStringLiteral("speedPanel"));
    m_layout.place(m_speedPanel, {168, 112, 145, 137});
    m_speedPanel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_layout.setLineWidth(m_speedPanel, 1);
    m_speedPanel->setAutoFillBackground(true);  // it hides the preview behind it
    auto* caption = makeLabel(m_layout, m_speedPanel, "startingSpeedCaption",
                              QStringLiteral("Starting Speed"), {8, 16, 129, 25});
    m_startingSpeedValue =
        makeLabel(m_layout, m_speedPanel, "startingSpeedValue", QStringLiteral("0"), {8, 40, 129, 25});
    for (QLabel* label : {caption, m_startingSpeedValue}) {
        label->setAlignment(Qt::AlignCenter);
        fitFont(m_layout, label, sansFont(16, true), {QStringLiteral("Starting Speed")});
    }
    m_speedSlider = new QScrollBar(Qt::Horizontal, m_speedPanel);
    m_speedSlider->setObjectName(QStringLiteral("speedSlider"));
    m_layout.place(m_speedSlider, {8, 104, 129, 25});
    m_speedSlider->setRange(0, maxStartingSpeed);
    m_speedSlider->setSingleStep(1);
    m_speedSlider->setPageStep(1);
}

void MainWindow::buildMenus() {
    QMenu* game = menuBar()->addMenu(QStringLiteral("&Game"));
    m_highScoresAction = game->addAction(QStringLiteral("&High Scores"));
    m_highScoresAction->setShortcut(Qt::Key_F4);
    m_quitAction = game->addAction(QStringLiteral("&Quit"));
    m_quitAction->setShortcut(Qt::Key_F3);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    m_soundAction = options->addAction(QStringLiteral("&Sound"));
    m_soundAction->setShortcut(Qt::CTRL | Qt::Key_S);
    m_musicAction = options->addAction(QStringLiteral("&Music"));
    m_musicAction->setShortcut(Qt::CTRL | Qt::Key_M);
    for (QAction* option : {m_soundAction, m_musicAction}) option->setCheckable(true);
    options->addSeparator();
    m_zoomInAction = options->addAction(QStringLiteral("Zoom &In"));
    m_zoomInAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    m_zoomOutAction = options->addAction(QStringLiteral("Zoom &Out"));
    m_zoomOutAction->setShortcut(Qt::CTRL | Qt::Key_Minus);
    m_actualSizeAction = options->addAction(QStringLiteral("&Actual Size"));
    m_actualSizeAction->setShortcut(Qt::CTRL | Qt::Key_0);
    connect(options, &QMenu::aboutToShow, this, &MainWindow::showZoomChoices);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    m_howToPlayAction = help->addAction(QStringLiteral("How to &Play..."));
    m_howToPlayAction->setShortcut(Qt::Key_F1);
    m_aboutAction = help->addAction(QStringLiteral("&About..."));
    m_aboutAction->setShortcut(Qt::Key_F2);

    for (const auto& [action, name] : {std::pair{m_highScoresAction, "highScoresAction"},
                                       {m_quitAction, "quitAction"},
                                       {m_soundAction, "soundAction"},
                                       {m_musicAction, "musicAction"},
                                       {m_zoomInAction, "zoomInAction"},
                                       {m_zoomOutAction, "zoomOutAction"},
                                       {m_actualSizeAction, "actualSizeAction"},
                                       {m_howToPlayAction, "howToPlayAction"},
                                       {m_aboutAction, "aboutAction"}})
        action->setObjectName(QLatin1String(name));
    // Shortcuts act only while this window is the active one: not while one
    // of its dialogs is open, so none can be opened twice from the keyboard.
    for (QAction* action : menuBar()->actions())
        for (QAction* item : action->menu()->actions()) item->setShortcutContext(Qt::WindowShortcut);
    // The bar and its menus speak at the zoomed size too.
    m_layout.setFont(menuBar(), menuBar()->font());
    for (QMenu* menu : {game, options, help}) m_layout.setFont(menu, menu->font());
}

}  // namespace stonerush
