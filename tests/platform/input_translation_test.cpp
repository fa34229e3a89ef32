#include "platform/input_translation.h"

#include <gtest/gtest.h>

namespace q30x {
namespace {

bool same(std::optional<MouseEvent> a, MouseEvent b) { return a && a->message == b.message && a->mouseData == b.mouseData; }

TEST(InputTranslation, EvdevButtonsGiveTheHookMessages) {
    struct Case {
        int code;
        bool pressed;
        MouseEvent expected;
    };
    const Case cases[] = {
        {0x110, true, {0x201, 0}},       {0x110, false, {0x202, 0}},     {0x111, true, {0x204, 0}},
        {0x111, false, {0x205, 0}},      {0x112, true, {0x207, 0}},      {0x112, false, {0x208, 0}},
        {0x113, true, {0x20B, 0x10000}}, {0x113, false, {0x20C, 0x10000}}, {0x116, true, {0x20B, 0x10000}},
        {0x114, true, {0x20B, 0x20000}}, {0x115, false, {0x20C, 0x20000}},
    };
    for (const auto& c : cases) EXPECT_TRUE(same(mouseEventOfEvdevButton(c.code, c.pressed), c.expected)) << c.code;
    EXPECT_FALSE(mouseEventOfEvdevButton(0x117, true));  // BTN_TASK
    EXPECT_FALSE(mouseEventOfEvdevButton(30, true));     // a key, not a button
}

TEST(InputTranslation, X11ButtonsAndWheel) {
    EXPECT_TRUE(same(mouseEventOfX11Button(1, true), {0x201, 0}));
    EXPECT_TRUE(same(mouseEventOfX11Button(2, false), {0x208, 0}));
    EXPECT_TRUE(same(mouseEventOfX11Button(3, true), {0x204, 0}));
    EXPECT_TRUE(same(mouseEventOfX11Button(8, true), {0x20B, 0x10000}));
    EXPECT_TRUE(same(mouseEventOfX11Button(9, false), {0x20C, 0x20000}));
    EXPECT_TRUE(same(mouseEventOfX11Button(4, true), {0x20A, 120 << 16}));
    EXPECT_TRUE(same(mouseEventOfX11Button(5, true), {0x20A, -(120 << 16)}));
    EXPECT_FALSE(mouseEventOfX11Button(4, false));
    EXPECT_FALSE(mouseEventOfX11Button(6, true));  // horizontal scroll is no input of the mouse
}

TEST(InputTranslation, WheelDeltaSitsInTheHighWord) {
    EXPECT_EQ(mouseEventOfWheel(1).mouseData, 0x00780000);
    EXPECT_EQ(static_cast<uint32_t>(mouseEventOfWheel(-1).mouseData), 0xFF880000u);
    EXPECT_LT(mouseEventOfWheel(-2).mouseData, 0);
}

}  // namespace
}  // namespace q30x
