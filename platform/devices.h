#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace q30x {

// "USB\VID_3C1F&PID_7E02&REV_0100": the system's text form of a USB
// device's first hardware identifier (upper-case hex).
std::string usbHardwareId(uint16_t vendor, uint16_t product, uint16_t revision);

// "\\?\USB#VID_3C1F&PID_7E02#<instance>#{A5DCBF10-6530-11D2-901F-00C04FB951ED}":
// the path a device-interface notification carries.
std::string usbInterfacePath(uint16_t vendor, uint16_t product, const std::string& instance);

// The USB devices present right now.
class UsbDeviceList {
public:
    virtual ~UsbDeviceList() = default;
    // The first hardware identifier of each present USB device, in enumeration order.
    virtual std::vector<std::string> hardwareIds() = 0;
};

inline constexpr uintptr_t kDeviceArrived = 0x8000;
inline constexpr uintptr_t kDeviceRemoved = 0x8004;

struct DeviceNotification {
    uintptr_t event;         // kDeviceArrived, kDeviceRemoved, or another system event
    bool deviceInterface;    // a USB device-interface broadcast (the only kind handled)
    std::string devicePath;  // usbInterfacePath() of the device
};

// Plugging and unplugging as it happens. The window waits on descriptor()
// and then takes what arrived, so everything runs on the window's thread.
class DeviceNotificationSource {
public:
    virtual ~DeviceNotificationSource() = default;
    // A descriptor that becomes readable when notifications are pending; -1 when there is none.
    virtual int descriptor() const = 0;
    virtual std::vector<DeviceNotification> takePending() = 0;
};

// Starts programs. No shell is involved: the arguments arrive as given.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // True when the program was started; it then runs on by itself.
    virtual bool launch(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

std::unique_ptr<UsbDeviceList> makeSystemUsbDeviceList();
std::unique_ptr<DeviceNotificationSource> makeSystemDeviceNotifications();
// A program name without a slash is looked up in PATH.
std::unique_ptr<ProgramLauncher> makeSystemProgramLauncher();

// A regular file this user may execute.
bool isExecutableFile(const std::string& path);

}  // namespace q30x
