// A mouse for a compositor that has none (a headless sway): a virtual pointer
// device on the seat, held until the program is killed. While it is there the
// seat has a pointer, so the seat's cursor commands (`swaymsg seat - cursor
// set X Y`, `cursor press button1`) reach the windows under it.
//
//   wayland_pointer      (WAYLAND_DISPLAY as for any client; prints "ready")
#include <wayland-client.h>

#include <cstdio>
#include <cstring>

namespace {

// The two interfaces of the compositor's virtual pointer protocol that are
// used: the manager's first request makes a pointer; none of the pointer's own
// requests is sent.
const wl_interface virtualPointer = {"zwlr_virtual_pointer_v1", 1, 0, nullptr, 0, nullptr};
const wl_interface* createTypes[] = {&wl_seat_interface, &virtualPointer};
const wl_message managerRequests[] = {{"create_virtual_pointer", "?on", createTypes}};
const wl_interface pointerManager = {"zwlr_virtual_pointer_manager_v1", 1, 1, managerRequests, 0, nullptr};

struct Globals {
    wl_seat* seat = nullptr;
    wl_proxy* manager = nullptr;
};

void announce(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, pointerManager.name) == 0)
        globals->manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &pointerManager, 1));
}
void withdraw(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener = {announce, withdraw};

}  // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "wayland_pointer: no compositor\n");
        return 1;
    }
    Globals globals;
    wl_registry_add_listener(wl_display_get_registry(display), &registryListener, &globals);
    wl_display_roundtrip(display);
    if (!globals.seat || !globals.manager) {
        std::fprintf(stderr, "wayland_pointer: the compositor offers no virtual pointer\n");
        return 1;
    }
    wl_proxy_marshal_constructor(globals.manager, 0, &virtualPointer, globals.seat, nullptr);
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);
    while (wl_display_dispatch(display) != -1) {
    }
    return 0;
}
