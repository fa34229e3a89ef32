#include "app/input_hooks.h"

#include <gtest/gtest.h>

#include "platform/messages.h"
#include "tests/support/recording_target.h"

namespace q30x {
namespace {

using Message = test::RecordingTarget::Message;

// A source that delivers nothing by itself and remembers whether it was asked
// to hold the mouse.
struct FakeSource final : InputEventSource {
    bool start(InputEventSink&) override { return started = startable; }
    void stop() override { started = false; }
    bool canSwallow() const override { return true; }
    void setSwallowing(bool on) override { swallowing = on; }
    bool startable = true, started = false, swallowing = false;
};

Message posted(uint32_t message, uintptr_t wParam, intptr_t lParam = 0) { return {message, wParam, lParam, false}; }

class InputHooksTest : public ::testing::Test {
protected:
    InputHooksTest() { EXPECT_TRUE(hooks.installHooks(&window)); }

    // Feeds events and returns which of them were swallowed.
    std::vector<bool> feed(std::initializer_list<MouseEvent> events) {
        std::vector<bool> swallowed;
        for (const auto& e : events) swallowed.push_back(hooks.mouseHook(e));
        return swallowed;
    }

    FakeSource source;
    InputHooks hooks{source};
    test::RecordingTarget window;
};

TEST_F(InputHooksTest, InterceptedMiddleClickIsSwallowedWholeAndReported) {
    hooks.setForwarding(0, 0);
    hooks.addIntercept(0x207);
    EXPECT_EQ(feed({{kMiddleDown, 0}, {kMiddleUp, 0}, {kMiddleDown, 0}, {kMiddleUp, 0}}),
              (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(window.messages(), (std::vector<Message>{posted(2027, 0x207), posted(2027, 0x207)}));
}

TEST_F(InputHooksTest, OnlyTheInterceptedWheelDirectionIsTaken) {
    hooks.setForwarding(0, 0);
    hooks.addIntercept(0x20A01);
    EXPECT_EQ(feed({{kWheel, kWheelNotch}, {kWheel, -kWheelNotch}, {kWheel, 3 * kWheelNotch}}),
              (std::vector<bool>{true, false, true}));
    EXPECT_EQ(window.messages(), (std::vector<Message>{posted(2027, 0x20A01), posted(2027, 0x20A01)}));
}

TEST_F(InputHooksTest, TwoQuickInterceptedPressesRememberOnlyTheLastRelease) {
    hooks.setForwarding(0, 0);
    hooks.addIntercept(0x207);
    hooks.addIntercept(0x2020B);
    EXPECT_EQ(feed({{kMiddleDown, 0}, {kSideDown, kSideForward}, {kMiddleUp, 0}, {kSideUp, kSideForward}}),
              (std::vector<bool>{true, true, false, true}));
}

TEST_F(InputHooksTest, ForwardingNamesSideButtonsAndWheelByTheirCodes) {
    EXPECT_EQ(feed({{kSideDown, kSideBack}, {kSideUp, kSideBack}, {kSideDown, kSideForward}, {kSideUp, kSideForward},
                    {kLeftDown, 0}, {kLeftUp, 0}, {kWheel, -kWheelNotch}, {kMouseMove, 0}}),
              std::vector<bool>(8, false));
    EXPECT_EQ(window.messages(),
              (std::vector<Message>{posted(1034, 0x1020B), posted(1034, 0x1020C), posted(1034, 0x2020B),
                                    posted(1034, 0x2020C), posted(1034, 0x201), posted(1034, 0x202),
                                    posted(1034, 0x20A00)}));
}

TEST_F(InputHooksTest, MovementIsNeverPosted) {
    hooks.setStatistics(1, 1);
    feed({{kMouseMove, 0}, {kMouseMove, 5}});
    EXPECT_TRUE(window.messages().empty());
}

TEST_F(InputHooksTest, ClickStatisticsCountPressesAndNotchesOnly) {
    hooks.setForwarding(0, 0);
    hooks.setStatistics(0, 1);
    feed({{kLeftDown, 0}, {kLeftUp, 0}, {kRightDown, 0}, {kWheel, kWheelNotch}, {kSideDown, kSideBack},
          {kSideUp, kSideBack}});
    EXPECT_EQ(window.messages(), (std::vector<Message>{posted(2027, 0x201), posted(2027, 0x204), posted(2027, 0x20A01),
                                                       posted(2027, 0x1020B)}));
}

TEST_F(InputHooksTest, AnInterceptedPressStillForwardsNothingElse) {
    hooks.addIntercept(0x201);
    hooks.setStatistics(0, 1);
    EXPECT_EQ(feed({{kLeftDown, 0}, {kLeftUp, 0}}), (std::vector<bool>{true, true}));
    // Swallowed events end before forwarding; the statistics post is the intercept's own.
    EXPECT_EQ(window.messages(), (std::vector<Message>{posted(2027, 0x201)}));
}

TEST_F(InputHooksTest, KeysArePostedByTheirFlags) {
    hooks.setStatistics(1, 0);
    struct Case {
        uint32_t flags;
        bool press;
    };
    for (Case c : {Case{0x00, true}, Case{0x01, true}, Case{0x20, true}, Case{0x21, true}, Case{0x80, false},
                   Case{0x81, false}, Case{0xA0, false}}) {
        window.clear();
        EXPECT_FALSE(hooks.keyboardHook({0x41, c.flags}));
        std::vector<Message> expected;
        if (c.press) expected.push_back(posted(2027, 1, c.flags));
        expected.push_back(posted(1034, 0x41, c.flags));
        EXPECT_EQ(window.messages(), expected) << "flags " << c.flags;
    }
}

TEST_F(InputHooksTest, TableHoldsTwelveDistinctCodes) {
    for (int32_t code = 1; code <= 14; ++code) hooks.addIntercept(code);
    hooks.addIntercept(3);
    auto table = hooks.interceptTable();
    for (int i = 0; i < 12; ++i) EXPECT_EQ(table[i], i + 1);
    EXPECT_FALSE(hooks.isIntercepted(13));
    hooks.removeIntercept(5);
    hooks.addIntercept(13);
    EXPECT_EQ(hooks.interceptTable()[4], 13);
    hooks.removeIntercept(0);  // a free entry is not a code
    EXPECT_EQ(hooks.interceptTable()[4], 13);
}

TEST_F(InputHooksTest, SourceHoldsTheMouseOnlyWhileSomethingIsIntercepted) {
    EXPECT_FALSE(source.swallowing);
    hooks.addIntercept(0x207);
    EXPECT_TRUE(source.swallowing);
    hooks.addIntercept(0x20A00);
    hooks.removeIntercept(0x207);
    EXPECT_TRUE(source.swallowing);
    hooks.removeIntercept(0x20A00);
    EXPECT_FALSE(source.swallowing);
    hooks.addIntercept(0x207);
    hooks.removeHooks();
    EXPECT_FALSE(source.swallowing);
    EXPECT_FALSE(source.started);
}

TEST_F(InputHooksTest, TargetsFollowTheRecorders) {
    test::RecordingTarget recorder;
    hooks.setTarget(&recorder);
    hooks.keyboardHook({0x42, 0});
    hooks.setForwarding(0, 0);  // back to the main window
    hooks.setStatistics(1, 0);
    hooks.keyboardHook({0x43, 0});
    EXPECT_EQ(recorder.messages(), (std::vector<Message>{posted(1034, 0x42)}));
    EXPECT_EQ(window.messages(), (std::vector<Message>{posted(2027, 1)}));
}

TEST(InputHooks, InstallFailsWithoutInput) {
    FakeSource source;
    source.startable = false;
    InputHooks hooks(source);
    test::RecordingTarget window;
    EXPECT_FALSE(hooks.installHooks(&window));
    EXPECT_FALSE(hooks.installed());
}

TEST(InputHooks, ResetRestoresTheStartState) {
    FakeSource source;
    InputHooks hooks(source);
    test::RecordingTarget window;
    hooks.installHooks(&window);
    hooks.addIntercept(0x201);
    hooks.setForwarding(0, 0);
    hooks.setStatistics(1, 1);
    hooks.reset();
    EXPECT_EQ(hooks.interceptTable(), (std::array<int32_t, 12>{}));
    hooks.setTarget(&window);
    hooks.keyboardHook({0x41, 0});
    EXPECT_EQ(window.messages(), (std::vector<Message>{posted(1034, 0x41)}));
}

}  // namespace
}  // namespace q30x

namespace q30x {
namespace {

// Linux keys reach the keyboard hook under the interface language's key table.
TEST(InputHooks, LinuxKeysArriveAsVirtualKeysWithTheirFlags) {
    struct Case {
        int language;
        uint16_t evdevCode;
        int32_t value;
        uintptr_t virtualKey;
        intptr_t flags;
    };
    const Case cases[] = {
        {2, 30, 1, 0x41, 0x00},   // KEY_A
        {2, 30, 0, 0x41, 0x80},
        {2, 30, 2, 0x41, 0x00},   // auto-repeat is a press
        {3, 16, 1, 0x41, 0x00},   // French: the key at Q's place is A
        {2, 97, 1, 0xA3, 0x01},   // right Ctrl is extended
        {2, 103, 0, 0x26, 0x81},  // Up released
        {2, 28, 1, 0x0D, 0x00},   // Enter
    };
    for (const auto& c : cases) {
        FakeSource source;
        InputHooks hooks(source);
        test::RecordingTarget window;
        hooks.installHooks(&window);
        hooks.setKeyLayout(c.language);
        EXPECT_FALSE(hooks.onKey({c.evdevCode, c.value}));
        EXPECT_EQ(window.messages(), (std::vector<Message>{posted(1034, c.virtualKey, c.flags)})) << c.evdevCode;
    }
}

TEST(InputHooks, KeysWithoutAVirtualKeyAreNotReported) {
    FakeSource source;
    InputHooks hooks(source);
    test::RecordingTarget window;
    hooks.installHooks(&window);
    hooks.setKeyLayout(2);
    hooks.onKey({240, 1});  // KEY_UNKNOWN
    EXPECT_TRUE(window.messages().empty());
}

}  // namespace
}  // namespace q30x
