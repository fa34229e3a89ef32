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

// A libinput driver refuses an accel speed outside -1..1 with an X error,
// which ends the whole program through Xlib's default handler; a profile
// file with a pointer speed outside 1..20 must not get that far.
TEST_F(X11DesktopMouseTest, PointerSpeedReachesLibinputOnlyInsideItsRange) {
    ASSERT_TRUE(test::writeAccelSpeed(0.5f));
    EXPECT_TRUE(settings->setMouseSpeed(1));
    EXPECT_FLOAT_EQ(test::readAccelSpeed(), -1.0f);
    EXPECT_TRUE(settings->setMouseSpeed(20));
    EXPECT_FLOAT_EQ(test::readAccelSpeed(), 1.0f);
    EXPECT_TRUE(settings->setMouseSpeed(10));
    const float ten = test::readAccelSpeed();
    EXPECT_NEAR(ten, -1.0f + 18.0f / 19.0f, 1e-6);
    for (int speed : {0, 21, -5, 1000}) {
        EXPECT_FALSE(settings->setMouseSpeed(speed)) << speed;
        EXPECT_FLOAT_EQ(test::readAccelSpeed(), ten) << speed;
    }
    ASSERT_FALSE(notes.empty());
    EXPECT_NE(notes.back().find("outside 1 to 20"), std::string::npos) << notes.back();
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
