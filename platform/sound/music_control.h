// The background music player, driven by command words like a media control:
// "Open", "Play", "Pause" (a toggle), "Stop", "Next", "Close".
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <string_view>

class MusicControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The two settings made before "Open"; they change nothing here.
    virtual void SetNotify(bool on) = 0;
    virtual void SetWait(bool on) = 0;

    virtual void SetFileName(const QString& path) = 0;

    // Performs one command word at once; unknown words are ignored.
    virtual void SetCommand(std::string_view word) = 0;

    // Length of the music and the playback position, in the same units.
    virtual int32_t Length() const = 0;
    virtual int32_t Position() const = 0;

signals:
    // Sent while the music plays, and at the latest when it reaches its end.
    void Notify();
};
