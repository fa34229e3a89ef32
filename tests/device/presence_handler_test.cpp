#include "device/presence_handler.h"

#include <gtest/gtest.h>

#include "platform/messages.h"
#include "platform/utf16.h"
#include "platform/virtual/virtual_mouse.h"
#include "tests/support/recording_target.h"

namespace q30x {
namespace {

using Action = DevicePresence::Action;
using Message = test::RecordingTarget::Message;

struct CountingSource final : InputEventSource {
    bool start(InputEventSink&) override { return ++starts, running = true; }
    void stop() override { running = false; }
    bool canSwallow() const override { return true; }
    void setSwallowing(bool) override {}
    int starts = 0;
    bool running = false;
};

class PresenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(link.openDevice());
        hooks.installHooks(&window);
        source.starts = 0;
    }
    DeviceNotification mouseEvent(uintptr_t event) const {
        return {event, true, usbInterfacePath(0x3C1F, 0x7E02, "1-4")};
    }

    FakeClock clock;
    VirtualMouse mouse{VirtualMouseConfig{}, clock};
    CUSBDriver link{mouse, clock};
    CountingSource source;
    InputHooks hooks{source};
    test::RecordingTarget window;
    LanguageState language{0, 0, 2};
    DevicePresence presence{link, hooks, window, language, clock};
};

TEST_F(PresenceTest, RemovalClosesEverythingAndEndsTheProgram) {
    mouse.setPlugged(false);
    Action action;
    EXPECT_EQ(presence.onDeviceChange(mouseEvent(kDeviceRemoved), action), 1);
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(hooks.installed());
    EXPECT_EQ(toUtf8(action.countdownMessage), "The Q30x gaming mouse cannot be found.");
    EXPECT_EQ(window.messages(), (std::vector<Message>{{msg::kClose, 0, 0, false}}));
}

TEST_F(PresenceTest, ArrivalAfterRemovalReopensRereadsAndHooksAgain) {
    mouse.setPlugged(false);
    Action removed, arrived;
    presence.onDeviceChange(mouseEvent(kDeviceRemoved), removed);
    mouse.setPlugged(true);
    presence.onDeviceChange(mouseEvent(kDeviceArrived), arrived);
    EXPECT_TRUE(link.isOpen());
    EXPECT_TRUE(hooks.installed());
    EXPECT_EQ(source.starts, 1);
    EXPECT_TRUE(arrived.firmwareVersionChanged);
    EXPECT_EQ(toUtf8(arrived.firmwareVersionText), "12");
    EXPECT_EQ(toUtf8(arrived.countdownMessage), "The Q30x gaming mouse is found.");
    EXPECT_EQ(arrived.retryTimer, Action::Timer::Unchanged);
}

TEST_F(PresenceTest, ArrivalBeforeTheInterfaceRetriesFromTheTimer) {
    link.closeDevice();
    mouse.setPlugged(false);
    Action first;
    presence.onDeviceChange(mouseEvent(kDeviceArrived), first);
    EXPECT_EQ(first.retryTimer, Action::Timer::Start);
    EXPECT_TRUE(first.countdownMessage.empty());
    EXPECT_TRUE(presence.retrying());

    Action again;
    clock.advance(2500);
    presence.onRetryTimer(again);
    EXPECT_EQ(again.retryTimer, Action::Timer::Unchanged);
    EXPECT_TRUE(clock.sleeps().empty());  // the window's thread never waited

    mouse.setPlugged(true);
    Action found;
    clock.advance(2500);
    presence.onRetryTimer(found);
    EXPECT_EQ(found.retryTimer, Action::Timer::Stop);
    EXPECT_TRUE(link.isOpen());
    EXPECT_EQ(toUtf8(found.countdownMessage), "The Q30x gaming mouse is found.");
}

TEST_F(PresenceTest, RetriesGiveUpAfterAMinute) {
    link.closeDevice();
    mouse.setPlugged(false);
    Action action;
    presence.onDeviceChange(mouseEvent(kDeviceArrived), action);
    int ticks = 0;
    while (presence.retrying() && ticks < 100) {
        clock.advance(2500);
        action = {};
        presence.onRetryTimer(action);
        ++ticks;
    }
    EXPECT_EQ(ticks, 24);
    EXPECT_EQ(action.retryTimer, Action::Timer::Stop);
    EXPECT_EQ(toUtf8(action.countdownMessage), "The Q30x gaming mouse cannot be found.");
    EXPECT_EQ(window.messages(), (std::vector<Message>{{msg::kClose, 0, 0, false}}));
}

TEST_F(PresenceTest, OtherDevicesAndRepeatedArrivalsChangeNothing) {
    Action action;
    EXPECT_EQ(presence.onDeviceChange({kDeviceRemoved, true, usbInterfacePath(0x046D, 0xC077, "2")}, action), 1);
    EXPECT_EQ(presence.onDeviceChange({kDeviceRemoved, false, usbInterfacePath(0x3C1F, 0x7E02, "2")}, action), 1);
    EXPECT_EQ(presence.onDeviceChange({0x8003, true, usbInterfacePath(0x3C1F, 0x7E02, "2")}, action), 1);
    EXPECT_EQ(presence.onDeviceChange(mouseEvent(kDeviceArrived), action), 1);  // already open
    EXPECT_TRUE(link.isOpen());
    EXPECT_TRUE(action.countdownMessage.empty());
    EXPECT_EQ(source.starts, 0);
    EXPECT_TRUE(window.messages().empty());
}

TEST_F(PresenceTest, MessagesFollowTheInterfaceWording) {
    language.chineseUi = 1;
    mouse.setPlugged(false);
    Action removed;
    presence.onDeviceChange(mouseEvent(kDeviceRemoved), removed);
    EXPECT_EQ(removed.countdownMessage, u"没有找到Q30x游戏鼠标.");
    mouse.setPlugged(true);
    Action arrived;
    presence.onDeviceChange(mouseEvent(kDeviceArrived), arrived);
    EXPECT_EQ(arrived.countdownMessage, u"发现Q30x游戏鼠标.");
}

}  // namespace
}  // namespace q30x
