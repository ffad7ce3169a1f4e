#include "platform/display.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace stonerush {
namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

std::string missingDisplay() {
    if (isSet("QT_QPA_PLATFORM")) return {};
    if (!isSet("DISPLAY"))
        return isSet("WAYLAND_DISPLAY") ? std::string() : "no display (DISPLAY is not set)";
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool refused = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    return refused ? std::string("cannot open the display \"") + std::getenv("DISPLAY") + "\""
                   : std::string();
}

}  // namespace stonerush
