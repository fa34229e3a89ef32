#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/devices.h"
#include "platform/paths.h"

namespace q30x {

inline constexpr std::string_view kMouseIdentity = "VID_3C1F&PID_7E02";
inline constexpr std::string_view kLoaderIdentity = "VID_04D9&PID_8022";
inline constexpr const char* kBurnerProgram = "FWUpdate/ZazezaVI";
// Started once, three seconds after start-up, when an install has it.
inline constexpr const char* kUpdaterProgram = "tarvo_update/TarvoUpdate";

// True when some present USB device's first hardware id names the firmware
// loader, in any letter case.
bool findLoader(UsbDeviceList& devices);

// The start-up look for the loader: two looks, each miss followed by 500 ms.
bool checkForLoader(UsbDeviceList& devices, Clock& clock);

// Starts the firmware burner of the program folder; its one argument tells
// it the interface wording ("1" Chinese, "0" otherwise).
bool startBurner(ProgramLauncher& launcher, const Folders& folders, int chineseUi);
// What the user is told when the burner cannot be started.
std::u16string_view burnerFailureText(int chineseUi);
// Starts the updater of the program folder, without arguments, when the
// install has it; a missing one is no failure. True when it was started.
bool startUpdater(ProgramLauncher& launcher, const Folders& folders);

// Whether a notification is the mouse arriving or leaving: only
// device-interface arrivals and removals whose path names the mouse count.
bool isMouseArrival(const DeviceNotification& notification);
bool isMouseRemoval(const DeviceNotification& notification);

// The news of one batch as the window takes it: the mouse's own folded to
// its first removal, if any, then its last arrival when the batch ends with
// the mouse back; other news dropped (it changes nothing). A cable that went
// in and out while the window was busy then costs one open of the link, not
// one per flap.
std::vector<DeviceNotification> foldMouseNews(const std::vector<DeviceNotification>& batch);

}  // namespace q30x
