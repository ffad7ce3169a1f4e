// The pads plugged in, found as they come and go. The folder of input devices
// is watched with inotify and every pad's descriptor is served by the event
// loop, so pads cost nothing while nobody touches them. Pads count for one
// window as its keys would: only while it is the active window, enabled, and
// no modal window is open. Where no pad can be read (none plugged in, or no
// access to the devices) the game simply plays by keyboard.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <utility>
#include <vector>

#include "platform/held_controls.h"

class QSocketNotifier;
class QWidget;

namespace stonerush {

class Pad;

class PadWatcher : public QObject {
    Q_OBJECT
public:
    explicit PadWatcher(QWidget* window, const QString& folder = defaultFolder());
    ~PadWatcher() override;

    // /dev/input, or the folder that STONERUSH_PAD_FOLDER names: there the
    // tests and the figures put FIFOs named event* that send recorded events.
    static QString defaultFolder();

    // What the pads hold while the window takes input. Otherwise nothing, and
    // what was held must be pressed again once it takes input.
    ControlSet held();

signals:
    void startPressed();
    // A pad went away (pulled out, or its device failed).
    void pulledOut();

private:
    bool takesInput() const;
    void scan();
    void readChanges();
    using Pads = std::vector<std::pair<QString, Pad*>>;  // by file name
    Pads::iterator find(const QString& name);
    void add(const QString& name);
    void remove(const QString& name);

    QWidget* m_window;
    QString m_folder;
    int m_inotify = -1;
    QSocketNotifier* m_changesNotifier = nullptr;
    Pads m_pads;
    alignas(8) std::array<char, 4096> m_changes{};
};

}  // namespace stonerush
