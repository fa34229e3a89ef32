#pragma once
#include <map>

#include "platform/keyboard_layout.h"

namespace q30x::test {

// A keyboard layout that prints what the test tells it, key by key.
struct FakeKeyboardLayout final : KeyboardLayout {
    std::map<uint16_t, char32_t> characters;
    char32_t unshiftedCharacter(uint16_t evdevCode) const override {
        auto found = characters.find(evdevCode);
        return found == characters.end() ? 0 : found->second;
    }
};

}  // namespace q30x::test
