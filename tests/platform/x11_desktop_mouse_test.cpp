#include <gtest/gtest.h>

#include "platform/desktop_mouse.h"
#include "tests/support/xvfb.h"

namespace q30x {
namespace {

std::vector<std::string> notes;
void remember(const std::string& text) { notes.push_back(text); }

using test::PointerControl;
using test::readPointerControl;

class X11DesktopMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.running()) << "Xvfb did not start";
        notes.clear();
        settings = makeX11DesktopMouseSettings(remember);
        ASSERT_NE(settings, nullptr);
    }
    test::XvfbServer server;
    std::unique_ptr<DesktopMouseSettings> settings;
};

TEST_F(X11DesktopMouseTest, PrecisionSetsTheCorePointerAcceleration) {
    ASSERT_TRUE(settings->setMouse({6, 10, 1}));
    PointerControl on = readPointerControl();
    EXPECT_EQ(on.numerator, 2);
    EXPECT_EQ(on.denominator, 1);
    EXPECT_EQ(on.threshold, 6);
    ASSERT_TRUE(settings->setMouse({0, 0, 0}));
    PointerControl off = readPointerControl();
    EXPECT_EQ(off.numerator, 1);
    EXPECT_EQ(off.denominator, 1);
    EXPECT_EQ(off.threshold, 0);
}

// Xvfb's pointers are not libinput devices and X11 has no wheel setting:
// both are refused, and each is told once however often it is tried.
TEST_F(X11DesktopMouseTest, WhatTheDesktopCannotTakeIsToldOnce) {
    EXPECT_FALSE(settings->setMouseSpeed(10));
    EXPECT_FALSE(settings->setMouseSpeed(12));
    EXPECT_FALSE(settings->setWheelScrollLines(3));
    EXPECT_FALSE(settings->setWheelScrollLines(-1));
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NE(notes[0].find("pointer speed"), std::string::npos);
    EXPECT_NE(notes[1].find("wheel scroll lines"), std::string::npos);
}

TEST(X11DesktopMouse, NoDisplayGivesNoBackend) {
    const char* old = std::getenv("DISPLAY");
    std::string saved = old ? old : "";
    ::setenv("DISPLAY", ":9999", 1);
    EXPECT_EQ(makeX11DesktopMouseSettings(remember), nullptr);
    if (old) ::setenv("DISPLAY", saved.c_str(), 1);
    else ::unsetenv("DISPLAY");
}

}  // namespace
}  // namespace q30x
