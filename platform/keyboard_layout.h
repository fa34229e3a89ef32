#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace q30x {

// The user's keyboard layout, asked only for the names of keys the fixed
// name tables do not cover (punctuation, keys of national layouts).
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // The character the key with this evdev key code prints with no modifier
    // held, in the layout's first group; 0 when it prints none.
    virtual char32_t unshiftedCharacter(uint16_t evdevCode) const = 0;
};

// The layout names as `setxkbmap -query` reports them; empty fields take
// xkbcommon's defaults (its XKB_DEFAULT_* variables, else "us").
struct KeyboardLayoutNames {
    std::string rules, model, layout, variant, options;
};

// The layout of the running desktop: the X server's current names when a
// display is reachable, else the defaults. Never null; a keymap that cannot
// be compiled yields a layout that prints nothing.
std::unique_ptr<KeyboardLayout> currentKeyboardLayout();
std::unique_ptr<KeyboardLayout> keyboardLayoutFromNames(const KeyboardLayoutNames& names);

}  // namespace q30x
