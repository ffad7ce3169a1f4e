// Where the music's frames go, on the music thread: after "Open" it renders
// the tune into memory a second at a time; while the music plays it keeps a
// QAudioSink's buffer filled, a second's worth at a time; while it does not,
// there is no stream at all and nothing here runs. With no usable audio device the renderer's position
// follows a clock instead, and nothing runs either.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <vector>

#include "platform/sound/music_renderer.h"

class QAudioSink;
class QIODevice;

class MusicOutput : public QObject {
    Q_OBJECT
public:
    explicit MusicOutput(std::shared_ptr<MusicRenderer> renderer);
    ~MusicOutput() override;

    // All three run on the music thread. Update() follows the renderer after
    // every command word: it renders what "Open" asked for and opens or
    // closes the stream.
    void Start();
    void Update();
    void Finish();

    bool HasAudioDevice() const { return has_device_; }

private:
    void RenderStep();
    void StartSink();
    void Feed();
    void FallBackToClock(const char* why);

    std::shared_ptr<MusicRenderer> renderer_;
    QAudioSink* sink_ = nullptr;
    QIODevice* stream_ = nullptr;  // the sink's, while it plays
    QTimer refill_;
    std::vector<int16_t> scratch_;
    qint64 frames_written_ = 0;
    bool rendering_ = false;
    int jumps_at_start_ = 0;
    std::atomic<bool> has_device_{false};
};
