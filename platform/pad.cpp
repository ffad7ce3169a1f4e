#include "platform/pad.h"

#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

namespace stonerush {

namespace {

AxisRange rangeOf(const libevdev* device, unsigned axis) {
    const input_absinfo* info = libevdev_get_abs_info(device, axis);
    return info ? AxisRange{info->minimum, info->maximum} : AxisRange{};
}

}  // namespace

Pad* Pad::open(const QString& path, Gate gate, QObject* parent) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;  // most often no access: the keyboard plays
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode))
        return new Pad(fd, PadMapping(), std::move(gate), parent);
    libevdev* device = nullptr;
    // The kernel gives every device with the gamepad layout the south button.
    if (S_ISCHR(status.st_mode) && libevdev_new_from_fd(fd, &device) == 0 &&
        libevdev_has_event_code(device, EV_KEY, BTN_SOUTH)) {
        const PadMapping mapping(rangeOf(device, ABS_X), rangeOf(device, ABS_Y));
        return new Pad(fd, device, mapping, std::move(gate), parent);
    }
    libevdev_free(device);
    ::close(fd);
    return nullptr;
}

Pad::Pad(int fd, PadMapping mapping, Gate gate, QObject* parent)
    : Pad(fd, nullptr, mapping, std::move(gate), parent) {}

Pad::Pad(int fd, libevdev* device, PadMapping mapping, Gate gate, QObject* parent)
    : QObject(parent),
      m_fd(fd),
      m_device(device),
      m_mapping(mapping),
      m_gate(std::move(gate)),
      m_notifier(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);  // a read never waits on the GUI thread
    connect(m_notifier, &QSocketNotifier::activated, this, &Pad::readEvents);
}

Pad::~Pad() {
    delete m_notifier;  // before its descriptor closes
    libevdev_free(m_device);
    ::close(m_fd);
}

// Signals go out once the read is done, so whatever they start cannot come
// back into it.
void Pad::readEvents() {
    m_gateOpen = m_gate();
    m_starts = 0;
    const bool alive = m_device ? readDevice() : readRecords();
    for (; m_starts > 0; --m_starts) emit startPressed();
    if (alive) return;
    m_notifier->setEnabled(false);
    m_held.releaseAll();
    emit vanished();
}

// Returns false once the device is gone (ENODEV) or fails.
bool Pad::readDevice() {
    unsigned flags = LIBEVDEV_READ_FLAG_NORMAL;
    input_event event;
    for (;;) {
        const int status = libevdev_next_event(m_device, flags, &event);
        if (status == LIBEVDEV_READ_STATUS_SYNC) {
            flags = LIBEVDEV_READ_FLAG_SYNC;  // what changed while events were lost
            take(event);
        } else if (status == LIBEVDEV_READ_STATUS_SUCCESS) {
            take(event);
        } else if (status == -EAGAIN && flags == LIBEVDEV_READ_FLAG_SYNC) {
            flags = LIBEVDEV_READ_FLAG_NORMAL;
        } else {
            return status == -EAGAIN || status == -EINTR;
        }
    }
}

// Whole records; a part of one waits for its rest. Returns false at the end
// of the stream.
bool Pad::readRecords() {
    const ssize_t got = ::read(m_fd, m_records.data() + m_filled, m_records.size() - m_filled);
    if (got <= 0) return got < 0 && (errno == EAGAIN || errno == EINTR);
    m_filled += size_t(got);
    const size_t whole = m_filled - m_filled % sizeof(input_event);
    for (size_t at = 0; at < whole; at += sizeof(input_event)) {
        input_event event;
        std::memcpy(&event, m_records.data() + at, sizeof event);
        take(event);
    }
    std::memmove(m_records.data(), m_records.data() + whole, m_filled - whole);
    m_filled -= whole;
    return true;
}

// Releases always count; presses and Start only while the gate is open.
void Pad::take(const input_event& event) {
    if (m_mapping.take(event) && m_gateOpen) ++m_starts;
    const ControlSet now = m_mapping.held();
    for (int index = 0; index < controlCount; ++index) {
        const auto control = Control(index);
        if (now.has(control) && !m_physical.has(control) && m_gateOpen) m_held.press(control);
        if (!now.has(control) && m_physical.has(control)) m_held.release(control);
    }
    m_physical = now;
}

}  // namespace stonerush
