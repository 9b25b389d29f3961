// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A mouse and a keyboard for the end-to-end tests under a wlroots compositor (sway), through the
// wlr-virtual-pointer and virtual-keyboard protocols, which no Debian package sends for a test.
// Both are made before the game starts and live until the test ends: SDL locks the pointer it
// finds for relative motion, and one keyboard with one keymap (US) spares the game a new keymap
// for every key, which SDL 2.26 does not always survive. The lines of its standard input:
//   move DX DY     relative motion in pixels
//   wheel STEPS    vertical wheel notches, negative up (towards the screen), positive down
//   key CODE       press and release of a key, by its Linux input code (1 Escape, 59 F1)
// After each line, once the compositor has handled it, it prints "done <line number>"; "ready"
// when both devices exist. It ends at the end of its input.
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// The protocols' four interfaces, version 1. The requests are listed in the protocols' order,
// since their index is the opcode on the wire; none of the interfaces has events.
const wl_interface* noTypes[] = {nullptr, nullptr, nullptr, nullptr, nullptr};
const wl_message pointerRequests[] = {
    {"motion", "uff", noTypes},
    {"motion_absolute", "uuuuu", noTypes},
    {"button", "uuu", noTypes},
    {"axis", "uuf", noTypes},
    {"frame", "", noTypes},
    {"axis_source", "u", noTypes},
    {"axis_stop", "uu", noTypes},
    {"axis_discrete", "uufi", noTypes},
    {"destroy", "", noTypes},
};
const wl_interface pointerInterface = {"zwlr_virtual_pointer_v1", 1, 9, pointerRequests, 0, nullptr};
const wl_interface* createPointerTypes[] = {&wl_seat_interface, &pointerInterface};
const wl_message pointerManagerRequests[] = {
    {"create_virtual_pointer", "?on", createPointerTypes},
    {"destroy", "", noTypes},
};
const wl_interface pointerManagerInterface = {"zwlr_virtual_pointer_manager_v1", 1, 2, pointerManagerRequests, 0, nullptr};

const wl_message keyboardRequests[] = {
    {"keymap", "uhu", noTypes},
    {"key", "uuu", noTypes},
    {"modifiers", "uuuu", noTypes},
    {"destroy", "", noTypes},
};
const wl_interface keyboardInterface = {"zwp_virtual_keyboard_v1", 1, 4, keyboardRequests, 0, nullptr};
const wl_interface* createKeyboardTypes[] = {&wl_seat_interface, &keyboardInterface};
const wl_message keyboardManagerRequests[] = {
    {"create_virtual_keyboard", "on", createKeyboardTypes},
};
const wl_interface keyboardManagerInterface = {"zwp_virtual_keyboard_manager_v1", 1, 1, keyboardManagerRequests, 0, nullptr};

enum PointerRequest : std::uint32_t { MOTION = 0, FRAME = 4, AXIS_SOURCE = 5, AXIS_DISCRETE = 7 };
enum KeyboardRequest : std::uint32_t { KEYMAP = 0, KEY = 1 };
constexpr std::uint32_t AXIS_VERTICAL = 0;
constexpr std::uint32_t SOURCE_WHEEL = 0;
constexpr double WHEEL_NOTCH = 15.0; // the scroll distance of one notch, as libinput reports it

struct Globals {
    wl_seat* seat = nullptr;
    wl_proxy* pointerManager = nullptr;
    wl_proxy* keyboardManager = nullptr;
};

void onGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    auto* globals = static_cast<Globals*>(data);
    if (!globals->seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, pointerManagerInterface.name) == 0)
        globals->pointerManager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &pointerManagerInterface, 1));
    else if (std::strcmp(interface, keyboardManagerInterface.name) == 0)
        globals->keyboardManager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &keyboardManagerInterface, 1));
}

void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}

std::uint32_t nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

// The US keymap as text in a memory file, which is how the protocol hands it over; -1 on failure.
int usKeymap(std::uint32_t& size)
{
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names = {"evdev", "pc105", "us", "", ""};
    xkb_keymap* keymap = context ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
    char* text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
    int fd = text ? memfd_create("keymap", MFD_CLOEXEC) : -1;
    if (fd >= 0) {
        size = static_cast<std::uint32_t>(std::strlen(text) + 1);
        if (write(fd, text, size) != static_cast<ssize_t>(size)) {
            close(fd);
            fd = -1;
        }
    }
    std::free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    return fd;
}

int fail(const char* what)
{
    std::fprintf(stderr, "virtual_input: %s\n", what);
    return 1;
}

} // namespace

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return fail("no Wayland display");
    Globals globals;
    static const wl_registry_listener listener = {onGlobal, onGlobalRemove};
    wl_registry_add_listener(wl_display_get_registry(display), &listener, &globals);
    wl_display_roundtrip(display);
    if (!globals.seat || !globals.pointerManager || !globals.keyboardManager)
        return fail("the compositor lacks a seat, the virtual pointer or the virtual keyboard");

    wl_proxy* pointer = wl_proxy_marshal_constructor(globals.pointerManager, 0, &pointerInterface, globals.seat, nullptr);
    wl_proxy* keyboard = wl_proxy_marshal_constructor(globals.keyboardManager, 0, &keyboardInterface, globals.seat, nullptr);
    std::uint32_t keymapSize = 0;
    const int keymap = usKeymap(keymapSize);
    if (keymap < 0)
        return fail("no US keymap from xkbcommon");
    wl_proxy_marshal(keyboard, KEYMAP, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, keymap, keymapSize);
    if (wl_display_roundtrip(display) < 0)
        return fail("the compositor refused the devices");
    close(keymap);
    std::printf("ready\n");
    std::fflush(stdout);

    std::string line;
    for (int number = 1; std::getline(std::cin, line); ++number) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "move") {
            double dx = 0, dy = 0;
            words >> dx >> dy;
            wl_proxy_marshal(pointer, MOTION, nowMs(), wl_fixed_from_double(dx), wl_fixed_from_double(dy));
            wl_proxy_marshal(pointer, FRAME);
        } else if (command == "wheel") {
            int steps = 0;
            words >> steps;
            const int step = steps < 0 ? -1 : 1;
            for (int i = 0; i != steps; i += step) {
                wl_proxy_marshal(pointer, AXIS_SOURCE, SOURCE_WHEEL);
                wl_proxy_marshal(pointer, AXIS_DISCRETE, nowMs(), AXIS_VERTICAL,
                                 wl_fixed_from_double(step * WHEEL_NOTCH), step);
                wl_proxy_marshal(pointer, FRAME);
            }
        } else if (command == "key") {
            std::uint32_t code = 0;
            words >> code;
            wl_proxy_marshal(keyboard, KEY, nowMs(), code, WL_KEYBOARD_KEY_STATE_PRESSED);
            wl_proxy_marshal(keyboard, KEY, nowMs(), code, WL_KEYBOARD_KEY_STATE_RELEASED);
        } else {
            std::fprintf(stderr, "virtual_input: unknown line %d: %s\n", number, line.c_str());
            return 2;
        }
        if (wl_display_roundtrip(display) < 0)
            return fail("the compositor closed the connection");
        std::printf("done %d\n", number);
        std::fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
