// Where the music's frames go, on the music thread: after open() it renders
// the tune into memory a second at a time; while the music plays it keeps a
// QAudioSink's buffer filled, a second's worth at a time; while it does not,
// there is no stream at all and nothing here runs. With no usable audio
// device the renderer's position follows a clock instead, and nothing runs
// either.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <vector>

#include "platform/sound/music_renderer.h"

class QAudioSink;
class QIODevice;

namespace stonerush {

class MusicOutput : public QObject {
    Q_OBJECT
public:
    explicit MusicOutput(std::shared_ptr<MusicRenderer> renderer);
    ~MusicOutput() override;

    // All three run on the music thread. update() follows the renderer after
    // every command: it renders what open() asked for and opens or closes the
    // stream.
    void start();
    void update();
    void finish();

    bool hasAudioDevice() const { return m_hasDevice; }

private:
    void renderStep();
    void startSink();
    void feed();
    void fallBackToClock(const char* why);

    std::shared_ptr<MusicRenderer> m_renderer;
    QAudioSink* m_sink = nullptr;
    QIODevice* m_stream = nullptr;  // the sink's, while it plays
    QTimer m_refill;
    std::vector<int16_t> m_scratch;
    qint64 m_framesWritten = 0;
    bool m_rendering = false;
    int m_jumpsAtStart = 0;
    std::atomic<bool> m_hasDevice{false};
};

}  // namespace stonerush
