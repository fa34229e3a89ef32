#include "device/presence.h"

#include <algorithm>
#include <cctype>

namespace q30x {
namespace {

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    auto hit = std::search(text.begin(), text.end(), part.begin(), part.end(),
                           [&](char a, char b) { return lower(a) == lower(b); });
    return !part.empty() && hit != text.end();
}

bool namesMouse(const DeviceNotification& notification, uintptr_t event) {
    return notification.deviceInterface && notification.event == event &&
           containsIgnoringCase(notification.devicePath, kMouseIdentity);
}

}  // namespace

bool findLoader(UsbDeviceList& devices) {
    for (const auto& id : devices.hardwareIds())
        if (containsIgnoringCase(id, kLoaderIdentity)) return true;
    return false;
}

bool checkForLoader(UsbDeviceList& devices, Clock& clock) {
    constexpr int kLooks = 2;
    constexpr uint32_t kPauseAfterMissMs = 500;
    for (int look = 0; look < kLooks; ++look) {
        if (findLoader(devices)) return true;
        clock.sleepMs(kPauseAfterMissMs);
    }
    return false;
}

bool startBurner(ProgramLauncher& launcher, const Folders& folders, int chineseUi) {
    return launcher.launch(joinPath(folders.program, kBurnerProgram), {chineseUi ? "1" : "0"});
}

bool startUpdater(ProgramLauncher& launcher, const Folders& folders) {
    const std::string updater = joinPath(folders.program, kUpdaterProgram);
    return isExecutableFile(updater) && launcher.launch(updater, {});
}

std::u16string_view burnerFailureText(int chineseUi) {
    return chineseUi ? u"无法启动固件升级程序." : u"The firmware update program cannot be started.";
}

bool isMouseArrival(const DeviceNotification& notification) { return namesMouse(notification, kDeviceArrived); }

bool isMouseRemoval(const DeviceNotification& notification) { return namesMouse(notification, kDeviceRemoved); }

std::vector<DeviceNotification> foldMouseNews(const std::vector<DeviceNotification>& batch) {
    std::vector<DeviceNotification> folded;
    const DeviceNotification* last = nullptr;
    for (const DeviceNotification& notification : batch) {
        if (isMouseRemoval(notification) && folded.empty()) folded.push_back(notification);
        if (isMouseRemoval(notification) || isMouseArrival(notification)) last = &notification;
    }
    if (last && isMouseArrival(*last)) folded.push_back(*last);
    return folded;
}

}  // namespace q30x
