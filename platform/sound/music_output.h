// Where the music's frames go: a QAudioSink pulling from the renderer, or,
// when there is no usable audio device, a silent clock that renders in real
// time and throws the frames away. Lives on the music thread.
#pragma once

#include <QElapsedTimer>
#include <QIODevice>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <vector>

#include "platform/sound/music_renderer.h"

class QAudioSink;

// The sink's pull side: every read renders fresh frames.
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

    // Both run on the music thread.
    void Start();
    void Finish();

    bool HasAudioDevice() const { return has_device_; }

private:
    void FallBackToClock(const char* why);
    void ClockTick();

    std::shared_ptr<MusicRenderer> renderer_;
    RendererDevice device_;
    QAudioSink* sink_ = nullptr;
    QTimer clock_;
    QElapsedTimer elapsed_;
    qint64 frames_rendered_ = 0;
    std::vector<int16_t> scratch_;
    std::atomic<bool> has_device_{false};
};
