#pragma once
#include <cstdint>
#include <span>

namespace q30x {

// The one table between Linux input codes and the system's key codes, used
// wherever a key comes from or goes to the desktop (key-name fallback,
// input hooks, macro recording).
//
// A key the mouse can play is named by its HID usage: the usage is where
// the key sits, so its evdev code never depends on the layout, and its
// virtual key comes from the interface language's KeyLayoutTable, exactly
// as the host names that key. Keys outside the key tables (the generic
// modifiers, F13 and up, media keys) carry their virtual key directly.
// evdev codes are those of <linux/input-event-codes.h>; an X11 key code is
// the evdev code plus 8.
struct KeyCodeRow {
    uint16_t evdevCode;
    uint8_t usage;       // 0 for a key outside the key tables
    uint8_t virtualKey;  // only for rows without a usage
};

std::span<const KeyCodeRow> keyCodeRows();

inline constexpr uint32_t x11KeyCode(uint16_t evdevCode) { return evdevCode + 8u; }

// 0 when the key has no row.
uint16_t evdevCodeOfVirtualKey(uint32_t virtualKey, int languageNumber);
uint8_t virtualKeyOfEvdevCode(uint16_t evdevCode, int languageNumber);

// Keys the system flags as extended in its key events: the right-hand
// modifiers, the navigation block, keypad Enter and slash, the Windows keys
// and the media keys.
bool isExtendedKey(uint16_t evdevCode);

}  // namespace q30x
