// One pad, read by the event loop as its events come: no timer, no thread.
// A device node is read through libevdev, which also brings the pad's state
// back after the kernel dropped events (SYN_DROPPED); a FIFO or a pipe
// carries whole input_event records as they are, as tests and the figures
// send them where no virtual device can be made. Input counts only while the
// gate is open: a press that comes while it is shut is dropped, and stays
// dropped after it opens.
#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "platform/held_controls.h"
#include "platform/pad_mapping.h"

class QSocketNotifier;
struct libevdev;

namespace stonerush {

class Pad : public QObject {
    Q_OBJECT
public:
    using Gate = std::function<bool()>;

    // The pad at path, or nullptr for what cannot be read and for anything
    // but a device with the gamepad layout or a FIFO.
    static Pad* open(const QString& path, Gate gate, QObject* parent);

    // Reads records from fd (a FIFO or a pipe), which it then owns.
    Pad(int fd, PadMapping mapping, Gate gate, QObject* parent = nullptr);
    ~Pad() override;

    ControlSet held() { return m_held.held(); }
    void releaseAll() { m_held.releaseAll(); }

signals:
    void startPressed();
    // The pad is gone (unplugged, or the FIFO's writer left); it reads no more.
    void vanished();

private:
    Pad(int fd, libevdev* device, PadMapping mapping, Gate gate, QObject* parent);
    void readEvents();
    bool readDevice();
    bool readRecords();
    void take(const input_event& event);

    int m_fd;
    libevdev* m_device;  // none: records
    PadMapping m_mapping;
    Gate m_gate;
    bool m_gateOpen = false;  // for the events of one read
    int m_starts = 0;         // Start presses in one read
    HeldControls m_held;
    ControlSet m_physical;  // what the pad held after its last event, counted or not
    QSocketNotifier* m_notifier;
    std::array<char, 64 * sizeof(input_event)> m_records{};
    size_t m_filled = 0;
};

}  // namespace stonerush
