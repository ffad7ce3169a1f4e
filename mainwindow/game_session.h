// One player's session at the game: the game itself and what runs it. It owns
// the tick timer, the state of the START/PAUSE button, the sound and music
// switches, the music and the sound effects; the main window shows what it
// is told and forwards the player's input.
//
// A tick steps the game with the keys held, then passes on what the step
// reported, in order: counters, sounds, the cells to draw, and at the end of
// a game the end-of-game steps, then the score for the high-score table.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "engine/game.h"

namespace stonerush {

class Music;
class SoundEffects;

// What the button offers: START (no game), PAUSE (a game runs), PLAY (paused).
enum class SessionState : uint8_t { Ready, Running, Paused };

// What the playfield and the preview show instead of the cells.
enum class FieldPicture : uint8_t { Black, Paused, GameOver };

class GameSession : public QObject {
    Q_OBJECT
public:
    static constexpr int tickMilliseconds = 30;

    // Seeds the pieces' randomness once for the run and opens the music in
    // dataFolder (where the tune and the wave sounds lie). New games start on
    // startingField: empty but for tests and benchmarks that want a pile.
    GameSession(Music& music, SoundEffects& effects, const QString& dataFolder,
                const Board& startingField = Board(), QObject* parent = nullptr);
    ~GameSession() override;

    // Where the keys held come from; none held until it is set.
    void setSteering(std::function<SteerSet()> steering) { m_steering = std::move(steering); }

public slots:
    // START begins a game at the starting speed, PAUSE pauses it, PLAY goes on.
    void pressStartButton();
    // A side window opened: a running game pauses as PAUSE pauses it.
    void pauseIfRunning();
    void setStartingSpeed(int speed) { m_startingSpeed = speed; }
    void setSoundOn(bool on) { m_soundOn = on; }
    void setMusicOn(bool on);
    // One step of the game; the timer calls it every 30 ms while a game runs.
    void tick();
    // The program ends: no more ticks, and the sound device is let go. Once
    // is enough; more do no harm.
    void close();

signals:
    void stateChanged(stonerush::SessionState state);
    void cellsChanged(const stonerush::Board& board, const stonerush::Preview& preview);
    void pictureShown(stonerush::FieldPicture picture);
    void scoreChanged(int32_t score);
    void linesChanged(int32_t lines);
    void speedChanged(int speed);
    // After the end-of-game steps, once the step has returned.
    void gameEnded(int32_t score);

private:
    void startGame();
    void pause();
    void resume();
    void endGame();
    void report(const StepReport& stepReport);
    void playSound(const char* waveFile);
    void setState(SessionState state);

    Music& m_music;
    SoundEffects& m_effects;
    QString m_dataFolder;
    SeededRandom m_random;
    Game m_game;
    Board m_startingField;
    QTimer m_tickTimer;  // named "tickTimer"
    std::function<SteerSet()> m_steering;
    SessionState m_state = SessionState::Ready;
    int m_startingSpeed = 0;
    bool m_soundOn = true;
    bool m_musicOn = true;
};

}  // namespace stonerush
