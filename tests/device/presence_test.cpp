#include "device/presence.h"

#include <deque>
#include <gtest/gtest.h>

namespace q30x {
namespace {

// Answers each look with the next scripted list of hardware ids.
struct ScriptedDevices final : UsbDeviceList {
    std::deque<std::vector<std::string>> looks;
    int calls = 0;
    std::vector<std::string> hardwareIds() override {
        ++calls;
        if (looks.empty()) return {};
        auto ids = looks.front();
        looks.pop_front();
        return ids;
    }
};

struct RecordingLauncher final : ProgramLauncher {
    std::vector<std::pair<std::string, std::vector<std::string>>> launched;
    bool launch(const std::string& program, const std::vector<std::string>& arguments) override {
        launched.push_back({program, arguments});
        return true;
    }
};

TEST(Presence, HardwareIdsHaveTheSystemTextForm) {
    EXPECT_EQ(usbHardwareId(0x04d9, 0x8022, 0x0100), "USB\\VID_04D9&PID_8022&REV_0100");
    EXPECT_EQ(usbInterfacePath(0x3c1f, 0x7e02, "1-2"),
              "\\\\?\\USB#VID_3C1F&PID_7E02#1-2#{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
}

TEST(Presence, LoaderFoundOnTheSecondLook) {
    ScriptedDevices devices;
    devices.looks = {{"USB\\VID_1D6B&PID_0002&REV_0601"}, {"USB\\VID_1D6B&PID_0002&REV_0601", "USB\\VID_04D9&PID_8022&REV_0001"}};
    FakeClock clock;
    EXPECT_TRUE(checkForLoader(devices, clock));
    EXPECT_EQ(clock.sleeps(), (std::vector<uint32_t>{500}));
}

TEST(Presence, NoLoaderAfterTwoLooks) {
    ScriptedDevices devices;
    devices.looks = {{"USB\\VID_3C1F&PID_7E02&REV_0100"}, {"USB\\VID_3C1F&PID_7E02&REV_0100"}, {"USB\\VID_04D9&PID_8022"}};
    FakeClock clock;
    EXPECT_FALSE(checkForLoader(devices, clock));
    EXPECT_EQ(devices.calls, 2);
    EXPECT_EQ(clock.sleeps(), (std::vector<uint32_t>{500, 500}));
}

TEST(Presence, LoaderIdMatchesInAnyCase) {
    ScriptedDevices devices;
    devices.looks = {{"usb\\vid_04d9&pid_8022&rev_0001"}};
    EXPECT_TRUE(findLoader(devices));
    devices.looks = {{"USB\\VID_04D9&PID_8023"}};
    EXPECT_FALSE(findLoader(devices));
}

TEST(Presence, BurnerGetsTheWordingArgument) {
    RecordingLauncher launcher;
    Folders folders{"/opt/q30x", "/w"};
    startBurner(launcher, folders, 1);
    startBurner(launcher, folders, 0);
    ASSERT_EQ(launcher.launched.size(), 2u);
    EXPECT_EQ(launcher.launched[0].first, "/opt/q30x/FWUpdate/ZazezaVI");
    EXPECT_EQ(launcher.launched[0].second, (std::vector<std::string>{"1"}));
    EXPECT_EQ(launcher.launched[1].second, (std::vector<std::string>{"0"}));
}

TEST(Presence, OnlyMouseInterfaceArrivalsAndRemovalsCount) {
    const std::string mouse = usbInterfacePath(0x3c1f, 0x7e02, "3-1");
    const std::string other = usbInterfacePath(0x046d, 0xc077, "3-2");
    struct Case {
        DeviceNotification notification;
        bool arrival, removal;
    };
    const Case cases[] = {
        {{kDeviceArrived, true, mouse}, true, false},
        {{kDeviceRemoved, true, mouse}, false, true},
        {{kDeviceArrived, true, "\\\\?\\usb#vid_3c1f&pid_7e02#x"}, true, false},
        {{kDeviceArrived, true, other}, false, false},
        {{kDeviceArrived, false, mouse}, false, false},
        {{0x0007, true, mouse}, false, false},
        {{0x8003, true, mouse}, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isMouseArrival(c.notification), c.arrival) << c.notification.devicePath;
        EXPECT_EQ(isMouseRemoval(c.notification), c.removal) << c.notification.devicePath;
    }
}

TEST(Presence, ABatchOfNewsFoldsToAtMostOneRemovalAndOneArrival) {
    const DeviceNotification in{kDeviceArrived, true, usbInterfacePath(0x3c1f, 0x7e02, "3-1")};
    const DeviceNotification out{kDeviceRemoved, true, in.devicePath};
    const DeviceNotification otherIn{kDeviceArrived, true, usbInterfacePath(0x046d, 0xc077, "3-2")};
    struct Case {
        const char* what;
        std::vector<DeviceNotification> batch;
        std::vector<bool> foldedArrivals;  // what is left, in order: true an arrival, false a removal
    };
    const Case cases[] = {
        {"nothing", {}, {}},
        {"another device only", {otherIn}, {}},
        {"one removal", {out}, {false}},
        {"one arrival", {in, otherIn}, {true}},
        {"out and back", {out, in}, {false, true}},
        {"flapping, ending in", {in, out, in, out, otherIn, in}, {false, true}},
        {"flapping, ending out", {out, in, out, in, out}, {false}},
    };
    for (const Case& c : cases) {
        std::vector<bool> arrivals;
        for (const DeviceNotification& n : foldMouseNews(c.batch)) {
            EXPECT_TRUE(isMouseArrival(n) || isMouseRemoval(n)) << c.what;
            arrivals.push_back(isMouseArrival(n));
        }
        EXPECT_EQ(arrivals, c.foldedArrivals) << c.what;
    }
}

}  // namespace
}  // namespace q30x
