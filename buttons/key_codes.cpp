#include "buttons/key_codes.h"

#include "buttons/key_tables.h"

namespace q30x {
namespace {

// evdev code, HID usage (0: none), virtual key of a key without usage.
constexpr KeyCodeRow kRows[] = {
    // letters A..Z by their US position
    {30, 0x04, 0}, {48, 0x05, 0}, {46, 0x06, 0}, {32, 0x07, 0}, {18, 0x08, 0}, {33, 0x09, 0}, {34, 0x0A, 0},
    {35, 0x0B, 0}, {23, 0x0C, 0}, {36, 0x0D, 0}, {37, 0x0E, 0}, {38, 0x0F, 0}, {50, 0x10, 0}, {49, 0x11, 0},
    {24, 0x12, 0}, {25, 0x13, 0}, {16, 0x14, 0}, {19, 0x15, 0}, {31, 0x16, 0}, {20, 0x17, 0}, {22, 0x18, 0},
    {47, 0x19, 0}, {17, 0x1A, 0}, {45, 0x1B, 0}, {21, 0x1C, 0}, {44, 0x1D, 0},
    // digits 1..9, 0
    {2, 0x1E, 0}, {3, 0x1F, 0}, {4, 0x20, 0}, {5, 0x21, 0}, {6, 0x22, 0}, {7, 0x23, 0}, {8, 0x24, 0},
    {9, 0x25, 0}, {10, 0x26, 0}, {11, 0x27, 0},
    // Enter, Esc, Backspace, Tab, Space
    {28, 0x28, 0}, {1, 0x29, 0}, {14, 0x2A, 0}, {15, 0x2B, 0}, {57, 0x2C, 0},
    // - = [ ] backslash ; ' ` , . /
    {12, 0x2D, 0}, {13, 0x2E, 0}, {26, 0x2F, 0}, {27, 0x30, 0}, {43, 0x31, 0}, {39, 0x33, 0}, {40, 0x34, 0},
    {41, 0x35, 0}, {51, 0x36, 0}, {52, 0x37, 0}, {53, 0x38, 0},
    {58, 0x39, 0},
    // F1..F12
    {59, 0x3A, 0}, {60, 0x3B, 0}, {61, 0x3C, 0}, {62, 0x3D, 0}, {63, 0x3E, 0}, {64, 0x3F, 0}, {65, 0x40, 0},
    {66, 0x41, 0}, {67, 0x42, 0}, {68, 0x43, 0}, {87, 0x44, 0}, {88, 0x45, 0},
    // Print Screen (SysRq), Scroll Lock, Pause
    {99, 0x46, 0}, {70, 0x47, 0}, {119, 0x48, 0},
    // Insert, Home, Page Up, Delete, End, Page Down, Right, Left, Down, Up
    {110, 0x49, 0}, {102, 0x4A, 0}, {104, 0x4B, 0}, {111, 0x4C, 0}, {107, 0x4D, 0}, {109, 0x4E, 0},
    {106, 0x4F, 0}, {105, 0x50, 0}, {108, 0x51, 0}, {103, 0x52, 0},
    // Num Lock, keypad / * - + Enter 1..9 0 .
    {69, 0x53, 0}, {98, 0x54, 0}, {55, 0x55, 0}, {74, 0x56, 0}, {78, 0x57, 0}, {96, 0x58, 0},
    {79, 0x59, 0}, {80, 0x5A, 0}, {81, 0x5B, 0}, {75, 0x5C, 0}, {76, 0x5D, 0}, {77, 0x5E, 0},
    {71, 0x5F, 0}, {72, 0x60, 0}, {73, 0x61, 0}, {82, 0x62, 0}, {83, 0x63, 0},
    // the extra key beside Left Shift (KEY_102ND), Application (KEY_COMPOSE)
    {86, 0x64, 0}, {127, 0x65, 0},
    // left Ctrl, Shift, Alt, Meta; right Ctrl, Shift, Alt, Meta
    {29, 0xE0, 0}, {42, 0xE1, 0}, {56, 0xE2, 0}, {125, 0xE3, 0}, {97, 0xE4, 0}, {54, 0xE5, 0}, {100, 0xE6, 0},
    {126, 0xE7, 0},
    // BTN_LEFT, BTN_RIGHT, BTN_MIDDLE
    {0x110, 0xF0, 0}, {0x111, 0xF1, 0}, {0x112, 0xF2, 0},
    // The generic modifiers name the left-hand keys; their rows stand after
    // the left-hand ones so those keys still read as A0, A2, A4.
    {42, 0, 0x10}, {29, 0, 0x11}, {56, 0, 0x12},
    // F13..F24
    {183, 0, 0x7C}, {184, 0, 0x7D}, {185, 0, 0x7E}, {186, 0, 0x7F}, {187, 0, 0x80}, {188, 0, 0x81},
    {189, 0, 0x82}, {190, 0, 0x83}, {191, 0, 0x84}, {192, 0, 0x85}, {193, 0, 0x86}, {194, 0, 0x87},
    // mute, volume down, volume up, next, previous, stop, play/pause
    {113, 0, 0xAD}, {114, 0, 0xAE}, {115, 0, 0xAF}, {163, 0, 0xB0}, {165, 0, 0xB1}, {166, 0, 0xB2},
    {164, 0, 0xB3},
};

}  // namespace

std::span<const KeyCodeRow> keyCodeRows() { return kRows; }

uint16_t evdevCodeOfVirtualKey(uint32_t virtualKey, int languageNumber) {
    if (uint8_t usage = usageOfVirtualKey(virtualKey, languageNumber)) {
        for (const KeyCodeRow& row : kRows)
            if (row.usage == usage) return row.evdevCode;
        return 0;
    }
    for (const KeyCodeRow& row : kRows)
        if (row.usage == 0 && row.virtualKey == virtualKey) return row.evdevCode;
    return 0;
}

uint8_t virtualKeyOfEvdevCode(uint16_t evdevCode, int languageNumber) {
    for (const KeyCodeRow& row : kRows)
        if (row.evdevCode == evdevCode) return row.usage ? virtualKeyOfUsage(row.usage, languageNumber) : row.virtualKey;
    return 0;
}

bool isExtendedKey(uint16_t evdevCode) {
    // Right Ctrl, keypad slash, Print Screen, Right Alt, Home, Up, Page Up, Left, Right, End, Down,
    // Page Down, Insert, Delete, keypad Enter, Num Lock, the media keys, both Meta keys, Application.
    static constexpr uint16_t kExtended[] = {97,  98,  99,  100, 102, 103, 104, 105, 106, 107, 108, 109, 110,
                                             111, 96,  69,  113, 114, 115, 163, 164, 165, 166, 125, 126, 127};
    for (uint16_t code : kExtended)
        if (code == evdevCode) return true;
    return false;
}

}  // namespace q30x
