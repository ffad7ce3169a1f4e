#include "mainwindow/game_session.h"

#include "platform/sound/music.h"
#include "platform/sound/sound_effects.h"

namespace stonerush {

GameSession::GameSession(Music& music, SoundEffects& effects, const QString& dataFolder,
                         const Board& startingField, QObject* parent)
    : QObject(parent),
      m_music(music),
      m_effects(effects),
      m_dataFolder(dataFolder),
      m_random(SeededRandom::fromClock()),
      m_startingField(startingField),
      m_tickTimer(this) {
    m_tickTimer.setObjectName(QStringLiteral("tickTimer"));
    m_tickTimer.setTimerType(Qt::PreciseTimer);
    m_tickTimer.setInterval(tickMilliseconds);
    connect(&m_tickTimer, &QTimer::timeout, this, &GameSession::tick);
    m_music.open(m_dataFolder + QStringLiteral("/rushtune.mid"));
}

GameSession::~GameSession() {
    close();
}

void GameSession::pressStartButton() {
    switch (m_state) {
        case SessionState::Ready:
            return startGame();
        case SessionState::Running:
            return pause();
        case SessionState::Paused:
            return resume();
    }
}

void GameSession::pauseIfRunning() {
    if (m_state == SessionState::Running) pause();
}

void GameSession::setMusicOn(bool on) {
    m_musicOn = on;
    // While a game runs the music follows at once; otherwise the next START
    // or PLAY takes it up.
    if (m_state != SessionState::Running) return;
    if (on)
        m_music.play();
    else
        m_music.pause();
}

void GameSession::startGame() {
    m_game = Game(m_startingSpeed, m_random, m_startingField);
    emit speedChanged(m_game.speed());
    emit scoreChanged(m_game.score());
    emit linesChanged(m_game.lines());
    if (m_musicOn) m_music.play();
    emit pictureShown(FieldPicture::Black);  // the next tick draws the board and the preview
    m_tickTimer.start();
    setState(SessionState::Running);
}

void GameSession::pause() {
    emit pictureShown(FieldPicture::Paused);
    m_tickTimer.stop();
    if (m_musicOn) m_music.pause();
    setState(SessionState::Paused);
}

void GameSession::resume() {
    emit pictureShown(FieldPicture::Black);
    m_tickTimer.start();
    if (m_musicOn) m_music.resume();
    setState(SessionState::Running);
}

void GameSession::tick() {
    if (m_state != SessionState::Running) return;
    if (m_game.isOver()) return endGame();  // a field that had no room for the first piece
    report(m_game.step(m_steering ? m_steering() : SteerSet{}, m_random));
}

// What the step did, in the order the player meets it: the counters, the
// sound, the cells, the end of the game. The cells are drawn every tick,
// whatever changed: after START or PLAY the views show black until a tick
// draws them.
void GameSession::report(const StepReport& stepReport) {
    if (stepReport.scoreChanged) emit scoreChanged(m_game.score());
    if (stepReport.rowsCleared > 0) emit linesChanged(m_game.lines());
    if (stepReport.speedRaised) emit speedChanged(m_game.speed());
    // The rows are heard as they are found, before they flash.
    if (stepReport.rowsCleared > 0) playSound(stepReport.rowsCleared == 4 ? "quad.wav" : "line.wav");
    emit cellsChanged(m_game.board(), m_game.preview());
    // The board is drawn without the piece that found no room, then the
    // game-over picture covers it.
    if (stepReport.gameOver) endGame();
}

void GameSession::endGame() {
    playSound("gameover.wav");
    m_music.rewind();  // whether or not it is switched on
    emit pictureShown(FieldPicture::GameOver);
    m_tickTimer.stop();
    setState(SessionState::Ready);
    // The name prompt comes only now that the step has returned.
    emit gameEnded(m_game.score());
}

void GameSession::playSound(const char* waveFile) {
    if (m_soundOn) m_effects.play(m_dataFolder + QLatin1Char('/') + QLatin1String(waveFile));
}

void GameSession::setState(SessionState state) {
    m_state = state;
    emit stateChanged(state);
}

void GameSession::close() {
    m_tickTimer.stop();
    m_music.close();
}

}  // namespace stonerush
