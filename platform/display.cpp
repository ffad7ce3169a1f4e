#include "platform/display.h"

#include <wayland-client.h>
#include <xcb/xcb.h>

#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace stonerush {
namespace {

const char* variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// The toolkit's Wayland platform comes in a package of its own (qt6-wayland);
// without it the toolkit goes to X, even on a Wayland desktop.
bool waylandPlatformInstalled() {
    QStringList folders = qEnvironmentVariable("QT_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts);
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    return std::any_of(folders.cbegin(), folders.cend(), [](const QString& folder) {
        return QFileInfo::exists(folder + QLatin1String("/platforms/libqwayland-generic.so"));
    });
}

struct Compositor {
    bool answers = false;
    bool decorates = false;  // draws the windows' title bars and borders itself
};

// One round trip on a connection of our own, closed before the toolkit opens
// its own: whether the compositor answers, and whether it offers to decorate
// windows (GNOME's does not; sway's and KDE's do).
Compositor askCompositor() {
    Compositor compositor;
    // A connection handed down in WAYLAND_SOCKET can be taken only once: it is the toolkit's.
    if (variable("WAYLAND_SOCKET") != nullptr) return {.answers = true};
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return compositor;
    wl_registry* registry = wl_display_get_registry(display);
    static const wl_registry_listener listener{
        .global =
            [](void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
                if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
                    static_cast<Compositor*>(data)->decorates = true;
            },
        .global_remove = [](void*, wl_registry*, uint32_t) {}};
    wl_registry_add_listener(registry, &listener, &compositor);
    compositor.answers = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return compositor;
}

// A server that hangs up at once would end the program with SIGPIPE as the
// connection's setup is sent: the signal is ignored while the check asks.
bool xServerAnswers() {
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    sigaction(SIGPIPE, &previous, nullptr);
    return answers;
}

}  // namespace

std::string prepareDisplay() {
    const char* platform = variable("QT_QPA_PLATFORM");
    const char* wayland = variable("WAYLAND_DISPLAY");
    // Named no platform, the toolkit tries Wayland first wherever WAYLAND_DISPLAY is set.
    if ((platform != nullptr ? std::strncmp(platform, "wayland", 7) == 0 : wayland != nullptr) &&
        waylandPlatformInstalled()) {
        const Compositor compositor = askCompositor();
        if (compositor.decorates) setenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1", 0);
        if (compositor.answers) return {};
        if (platform == nullptr && variable("DISPLAY") == nullptr)
            return std::string("cannot connect to the Wayland display \"") + wayland + "\"";
    }
    if (platform != nullptr) return {};
    if (variable("DISPLAY") == nullptr)
        return wayland != nullptr
                   ? "no display: Wayland needs the package qt6-wayland, and DISPLAY is not set"
                   : "no display (neither WAYLAND_DISPLAY nor DISPLAY is set)";
    if (!xServerAnswers()) return std::string("cannot open the display \"") + variable("DISPLAY") + "\"";
    // Where the compositor did not answer, the toolkit would try it again
    // before going to X, with a warning.
    setenv("QT_QPA_PLATFORM", "xcb", 0);
    return {};
}

}  // namespace stonerush
