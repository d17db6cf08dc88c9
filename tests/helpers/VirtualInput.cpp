// Gives a headless wlroots compositor's seat a pointer and a keyboard, for end-to-end tests.
//
// A headless sway has no input devices, so its seat announces neither and clients get no
// pointer events. A keyboard that appears only for one key press (as wtype's does) is no
// better: the seat gains the keyboard capability just before the key, and a client has not
// yet asked for its keyboard when the key arrives, so the key is lost. This program adds a
// virtual pointer (wlr-virtual-pointer-unstable-v1) and a virtual keyboard with a US layout
// (virtual-keyboard-unstable-v1) to the seat and keeps both until it is stopped, as a
// desktop's real devices stay. Tests type with wtype and drive the pointer through this
// program's standard input, one command a line:
//
//   move X Y W H     the pointer to X,Y of a W x H layout (logical pixels)
//   press | release  the left button
//
// It prints "ready" once both devices exist and "ok" after each command, once the
// compositor has handled it.
//
// KDE's kwin offers neither protocol; there the pointer goes through kwin's fake input
// (org_kde_kwin_fake_input), which kwin hands only to programs that a desktop file lists
// with X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input. "move" then takes kwin's global
// coordinates (W and H are ignored), and there is no keyboard. (sway's own `seat seat0 cursor set`
// moves no pointer focus while a button is held, so a drag made with it never reaches the window.)
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <string>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

// The protocols' interfaces, written out by hand (the protocol files are not packaged).
extern const wl_interface zwlr_virtual_pointer_v1_interface;
extern const wl_interface zwp_virtual_keyboard_v1_interface;
extern const wl_interface org_kde_kwin_fake_input_interface;

namespace {

const wl_interface* pointerManagerTypes[] = {&wl_seat_interface,
                                             &zwlr_virtual_pointer_v1_interface};
const wl_message pointerManagerRequests[] = {
    {"create_virtual_pointer", "?on", pointerManagerTypes},
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
constexpr uint32_t pointerMotionAbsolute = 1;
constexpr uint32_t pointerButton = 2;
constexpr uint32_t pointerFrame = 4;
constexpr uint32_t pointerDestroy = 8;

const wl_interface* keyboardManagerTypes[] = {&wl_seat_interface,
                                              &zwp_virtual_keyboard_v1_interface};
const wl_message keyboardManagerRequests[] = {
    {"create_virtual_keyboard", "on", keyboardManagerTypes},
};
const wl_message keyboardRequests[] = {
    {"keymap", "uhu", noTypes},
    {"key", "uuu", noTypes},
    {"modifiers", "uuuu", noTypes},
    {"destroy", "", nullptr},
};
constexpr uint32_t keyboardKeymap = 0;
constexpr uint32_t keyboardDestroy = 3;

const wl_message fakeInputRequests[] = {
    {"authenticate", "ss", noTypes},  {"pointer_motion", "ff", noTypes},
    {"button", "uu", noTypes},        {"axis", "uf", noTypes},
    {"touch_down", "2uff", noTypes},  {"touch_motion", "2uff", noTypes},
    {"touch_up", "2u", noTypes},      {"touch_cancel", "2", noTypes},
    {"touch_frame", "2", noTypes},    {"pointer_motion_absolute", "3ff", noTypes},
    {"keyboard_key", "4uu", noTypes},
};
constexpr uint32_t fakeAuthenticate = 0;
constexpr uint32_t fakeButton = 2;
constexpr uint32_t fakeMotionAbsolute = 9;

} // namespace

const wl_interface zwlr_virtual_pointer_manager_v1_interface = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, pointerManagerRequests, 0, nullptr};
const wl_interface zwlr_virtual_pointer_v1_interface = {"zwlr_virtual_pointer_v1", 1, 9,
                                                        pointerRequests,           0, nullptr};
const wl_interface zwp_virtual_keyboard_manager_v1_interface = {
    "zwp_virtual_keyboard_manager_v1", 1, 1, keyboardManagerRequests, 0, nullptr};
const wl_interface zwp_virtual_keyboard_v1_interface = {"zwp_virtual_keyboard_v1", 1, 4,
                                                        keyboardRequests,          0, nullptr};
const wl_interface org_kde_kwin_fake_input_interface = {"org_kde_kwin_fake_input", 4, 11,
                                                        fakeInputRequests,         0, nullptr};

namespace {

wl_seat* seat = nullptr;
wl_proxy* pointerManager = nullptr;
wl_proxy* keyboardManager = nullptr;
wl_proxy* fakeInput = nullptr;
volatile std::sig_atomic_t stopping = 0;

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto bind = [&](const wl_interface& wanted, wl_proxy*& into, uint32_t version = 1) {
        if (!into && std::strcmp(interface, wanted.name) == 0)
            into = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &wanted, version));
    };
    if (!seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    bind(zwlr_virtual_pointer_manager_v1_interface, pointerManager);
    bind(zwp_virtual_keyboard_manager_v1_interface, keyboardManager);
    bind(org_kde_kwin_fake_input_interface, fakeInput, 3); // 3: absolute motion
}

void globalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registryListener = {global, globalRemove};

// The default US keymap, text-v1 in a sealed-size memory file as the protocol wants it.
bool sendKeymap(wl_proxy* keyboard) {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_rule_names names{nullptr, nullptr, "us", nullptr, nullptr};
    xkb_keymap* keymap =
        context ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
    char* text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
    bool sent = false;
    if (text) {
        const size_t size = std::strlen(text) + 1;
        const int fd = memfd_create("glintext-keymap", MFD_CLOEXEC);
        if (fd >= 0 && write(fd, text, size) == ssize_t(size)) {
            wl_proxy_marshal(keyboard, keyboardKeymap, uint32_t(XKB_KEYMAP_FORMAT_TEXT_V1), fd,
                             uint32_t(size));
            sent = true;
        }
        if (fd >= 0)
            close(fd);
        std::free(text);
    }
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    return sent;
}

uint32_t nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

// One command line; false when it is not one.
bool runCommand(wl_proxy* pointer, const char* line) {
    unsigned x = 0, y = 0, width = 0, height = 0;
    if (std::sscanf(line, "move %u %u %u %u", &x, &y, &width, &height) == 4 && width > 0 &&
        height > 0) {
        wl_proxy_marshal(pointer, pointerMotionAbsolute, nowMs(), x, y, width, height);
    } else if (std::strncmp(line, "press", 5) == 0 || std::strncmp(line, "release", 7) == 0) {
        const uint32_t state =
            line[0] == 'p' ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED;
        wl_proxy_marshal(pointer, pointerButton, nowMs(), uint32_t(BTN_LEFT), state);
    } else {
        return false;
    }
    wl_proxy_marshal(pointer, pointerFrame);
    return true;
}

// The same commands through kwin's fake input.
bool runFakeInputCommand(const char* line) {
    unsigned x = 0, y = 0, width = 0, height = 0;
    if (std::sscanf(line, "move %u %u %u %u", &x, &y, &width, &height) == 4) {
        wl_proxy_marshal(fakeInput, fakeMotionAbsolute, wl_fixed_from_int(int(x)),
                         wl_fixed_from_int(int(y)));
    } else if (std::strncmp(line, "press", 5) == 0 || std::strncmp(line, "release", 7) == 0) {
        const uint32_t state =
            line[0] == 'p' ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED;
        wl_proxy_marshal(fakeInput, fakeButton, uint32_t(BTN_LEFT), state);
    } else {
        return false;
    }
    return true;
}

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
    const bool virtualDevices = seat && pointerManager && keyboardManager;
    if (!virtualDevices && !fakeInput) {
        std::fprintf(stderr, "the compositor offers no virtual pointer or keyboard\n");
        return 2;
    }
    if (!virtualDevices)
        wl_proxy_marshal(fakeInput, fakeAuthenticate, "Glintext tests", "drive the pointer");
    wl_proxy* pointer =
        virtualDevices ? wl_proxy_marshal_constructor(
                             pointerManager, 0, &zwlr_virtual_pointer_v1_interface, seat, nullptr)
                       : nullptr;
    wl_proxy* keyboard =
        virtualDevices ? wl_proxy_marshal_constructor(
                             keyboardManager, 0, &zwp_virtual_keyboard_v1_interface, seat, nullptr)
                       : nullptr;
    if (keyboard && !sendKeymap(keyboard)) {
        std::fprintf(stderr, "no keymap for the virtual keyboard\n");
        return 3;
    }
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);

    pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    std::string pending;
    while (!stopping) {
        wl_display_flush(display);
        if (poll(fds, 2, 200) <= 0)
            continue;
        if ((fds[0].revents & POLLIN) && wl_display_dispatch(display) < 0)
            break;
        if (!(fds[1].revents & (POLLIN | POLLHUP)))
            continue;
        char chunk[256];
        const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) {
            fds[1].fd = -1; // no more commands; the devices stay until stopped
            continue;
        }
        pending.append(chunk, size_t(got));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            const bool known =
                pointer ? runCommand(pointer, line.c_str()) : runFakeInputCommand(line.c_str());
            pending.erase(0, end + 1);
            wl_display_roundtrip(display);
            std::printf(known ? "ok\n" : "unknown command\n");
            std::fflush(stdout);
        }
    }
    if (pointer) {
        wl_proxy_marshal(pointer, pointerDestroy);
        wl_proxy_destroy(pointer);
    }
    if (keyboard) {
        wl_proxy_marshal(keyboard, keyboardDestroy);
        wl_proxy_destroy(keyboard);
    }
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
