#include "platform/keyboard_layout.h"

#include <gtest/gtest.h>

namespace q30x {
namespace {

// Compiles real keymaps from the installed XKB data; without it there is
// nothing to check against.
std::unique_ptr<KeyboardLayout> layout(const char* name) {
    KeyboardLayoutNames names;
    names.rules = "evdev";
    names.model = "pc105";
    names.layout = name;
    return keyboardLayoutFromNames(names);
}

TEST(XkbKeyboardLayout, CharactersOfTheFirstLevel) {
    auto us = layout("us");
    if (us->unshiftedCharacter(30) == 0) GTEST_SKIP() << "no XKB data installed";
    struct Case {
        const char* layout;
        uint16_t evdevCode;
        char32_t character;
    };
    const Case cases[] = {
        {"us", 30, U'a'},  {"us", 39, U';'},  {"us", 2, U'1'},   {"us", 1, U'\x1b'}, {"us", 29, 0},
        {"fr", 16, U'a'},  {"fr", 27, U'$'},  {"fr", 2, U'&'},   {"de", 21, U'z'},   {"de", 86, U'<'},
        {"ru", 39, U'\u0436'}, {"us", 0x110, 0}, {"us", 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(layout(c.layout)->unshiftedCharacter(c.evdevCode), c.character) << c.layout << " " << c.evdevCode;
}

TEST(XkbKeyboardLayout, UnknownLayoutPrintsNothing) {
    auto bad = layout("no-such-layout-q30x");
    EXPECT_EQ(bad->unshiftedCharacter(30), 0u);
}

}  // namespace
}  // namespace q30x
