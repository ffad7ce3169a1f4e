// Where the music's frames go, on the music thread: after "Open" it renders
// the tune into memory a second at a time; while the music plays a QAudioSink
// pulls the samples; while it does not, the sink is corked (paused) or closed
// (stopped, closed) and nothing here runs. With no usable audio device the
// renderer's position follows a clock instead, and nothing runs either.
#pragma once

#include <QIODevice>
#include <QObject>
#include <atomic>
#include <memory>

#include "platform/sound/music_renderer.h"

class QAudioSink;

// The sink's pull side: every read takes the next frames of the tune.
class RendererDevice : public QIODevice {
    Q_OBJECT
public:
    explicit RendererDevice(std::shared_ptr<MusicRenderer> renderer);
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 max_bytes) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::shared_ptr<MusicRenderer> renderer_;
};

class MusicOutput : public QObject {
    Q_OBJECT
public:
    explicit MusicOutput(std::shared_ptr<MusicRenderer> renderer);
    ~MusicOutput() override;

    // All three run on the music thread. Update() follows the renderer after
    // every command word: it renders what "Open" asked for and starts, corks
    // or closes the sink.
    void Start();
    void Update();
    void Finish();

    bool HasAudioDevice() const { return has_device_; }

private:
    void RenderStep();
    void StartSink();
    void FallBackToClock(const char* why);

    std::shared_ptr<MusicRenderer> renderer_;
    RendererDevice device_;
    QAudioSink* sink_ = nullptr;
    bool rendering_ = false;
    int jumps_when_corked_ = 0;
    std::atomic<bool> has_device_{false};
};
