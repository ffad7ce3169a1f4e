#include "platform/pad_watcher.h"

#include <sys/inotify.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <algorithm>

#include "platform/pad.h"

namespace stonerush {

PadWatcher::PadWatcher(QWidget* window, const QString& folder)
    : QObject(window), m_window(window), m_folder(folder) {
    // A new device node comes without access for the player; the desktop's
    // rules grant it a moment later (IN_ATTRIB).
    constexpr uint32_t changes = IN_CREATE | IN_ATTRIB | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM;
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify >= 0 &&
        ::inotify_add_watch(m_inotify, QFile::encodeName(folder).constData(), changes) >= 0) {
        m_changesNotifier = new QSocketNotifier(m_inotify, QSocketNotifier::Read, this);
        connect(m_changesNotifier, &QSocketNotifier::activated, this, &PadWatcher::readChanges);
    }
    scan();
}

PadWatcher::~PadWatcher() {
    delete m_changesNotifier;  // before its descriptor closes
    if (m_inotify >= 0) ::close(m_inotify);
}

QString PadWatcher::defaultFolder() {
    const QString folder = qEnvironmentVariable("STONERUSH_PAD_FOLDER");
    return folder.isEmpty() ? QStringLiteral("/dev/input") : folder;
}

bool PadWatcher::takesInput() const {
    return m_window->isActiveWindow() && m_window->isEnabled() && !QGuiApplication::modalWindow();
}

ControlSet PadWatcher::held() {
    ControlSet held;
    for (const auto& [name, pad] : m_pads) held = held | pad->held();
    if (held.empty() || takesInput()) return held;
    for (const auto& [name, pad] : m_pads) pad->releaseAll();
    return {};
}

void PadWatcher::scan() {
    for (const QString& name : QDir(m_folder).entryList({QStringLiteral("event*")}, QDir::System)) add(name);
}

void PadWatcher::readChanges() {
    ssize_t got;
    while ((got = ::read(m_inotify, m_changes.data(), m_changes.size())) > 0) {
        for (ssize_t at = 0; at < got;) {
            const auto* change = reinterpret_cast<const inotify_event*>(m_changes.data() + at);
            at += ssize_t(sizeof(inotify_event) + change->len);
            const QString name = change->len ? QFile::decodeName(change->name) : QString();
            if (change->mask & IN_Q_OVERFLOW)
                scan();  // changes were lost: whatever is there now
            else if (!name.startsWith(QLatin1String("event")))
                continue;
            else if (change->mask & (IN_DELETE | IN_MOVED_FROM))
                remove(name);
            else
                add(name);
        }
    }
}

PadWatcher::Pads::iterator PadWatcher::find(const QString& name) {
    return std::find_if(m_pads.begin(), m_pads.end(), [&](const auto& entry) { return entry.first == name; });
}

void PadWatcher::add(const QString& name) {
    if (find(name) != m_pads.end()) return;
    Pad* pad = Pad::open(
        m_folder + QLatin1Char('/') + name, [this] { return takesInput(); }, this);
    if (!pad) return;
    connect(pad, &Pad::startPressed, this, &PadWatcher::startPressed);
    connect(pad, &Pad::vanished, this, [this, name] { remove(name); });
    m_pads.emplace_back(name, pad);
}

void PadWatcher::remove(const QString& name) {
    const auto found = find(name);
    if (found == m_pads.end()) return;
    found->second->deleteLater();  // it may be reading now
    m_pads.erase(found);
    emit pulledOut();
}

}  // namespace stonerush
