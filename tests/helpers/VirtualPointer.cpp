// Gives a headless wlroots compositor's seat a pointer, for end-to-end tests.
//
// A headless sway has no input devices, so its seat announces no pointer and clients never
// see the events of `swaymsg seat seat0 cursor ...`. This program adds a virtual pointer
// device (wlr-virtual-pointer-unstable-v1) to the seat and keeps it until it is stopped;
// the tests then move and click with sway's own seat commands. It prints "ready" once the
// device exists.
#include <wayland-client.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>

// The protocol's two interfaces, written out by hand (the protocol files are not packaged).
extern const wl_interface zwlr_virtual_pointer_v1_interface;

namespace {

const wl_interface* managerTypes[] = {&wl_seat_interface, &zwlr_virtual_pointer_v1_interface};
const wl_message managerRequests[] = {
    {"create_virtual_pointer", "?on", managerTypes},
    {"destroy", "", nullptr},
};
const wl_interface* noTypes[] = {nullptr, nullptr, nullptr, nullptr, nullptr};
const wl_message pointerRequests[] = {
    {"motion", "uff", noTypes},   {"motion_absolute", "uuuuu", noTypes},
    {"button", "uuu", noTypes},   {"axis", "uuf", noTypes},
    {"frame", "", nullptr},       {"axis_source", "u", noTypes},
    {"axis_stop", "uu", noTypes}, {"axis_discrete", "uufi", noTypes},
    {"destroy", "", nullptr},
};

} // namespace

const wl_interface zwlr_virtual_pointer_manager_v1_interface = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, managerRequests, 0, nullptr};
const wl_interface zwlr_virtual_pointer_v1_interface = {"zwlr_virtual_pointer_v1", 1, 9,
                                                        pointerRequests,           0, nullptr};

namespace {

wl_seat* seat = nullptr;
wl_proxy* manager = nullptr;
volatile std::sig_atomic_t stopping = 0;

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (!seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (!manager &&
             std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = static_cast<wl_proxy*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}

void globalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registryListener = {global, globalRemove};

} // namespace

int main() {
    std::signal(SIGTERM, [](int) { stopping = 1; });
    std::signal(SIGINT, [](int) { stopping = 1; });
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!seat || !manager) {
        std::fprintf(stderr, "the compositor offers no virtual pointer\n");
        return 2;
    }
    wl_proxy* pointer =
        wl_proxy_marshal_constructor(manager, 0, &zwlr_virtual_pointer_v1_interface, seat, nullptr);
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);

    pollfd fd{wl_display_get_fd(display), POLLIN, 0};
    while (!stopping) {
        wl_display_flush(display);
        if (poll(&fd, 1, 200) > 0 && wl_display_dispatch(display) < 0)
            break;
    }
    wl_proxy_marshal(pointer, 8); // destroy
    wl_proxy_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
