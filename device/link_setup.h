#pragma once
#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "device/trace.h"
#include "device/usb_driver.h"
#include "platform/clock.h"
#include "platform/desktop_mouse.h"
#include "platform/devices.h"
#include "platform/hid.h"

namespace q30x {

class VirtualMouse;

// How a program reaches the mouse: the real HID stack or the virtual mouse,
// real pauses or skipped ones, and where the trace goes ("-" is standard
// output, empty for none).
struct LinkOptions {
    bool virtualMouse = false;
    bool noDelays = false;
    std::string tracePath;
};

// Fills what the command line left open from Q30X_VIRTUAL_MOUSE=1 and Q30X_TRACE.
LinkOptions withEnvironment(LinkOptions options, bool traceGiven);

// The device link with what it runs on. The program and q30xctl build it the
// same way, so a trace of one reads like a trace of the other.
class DeviceLinkSetup {
public:
    // False with `error` set when the options do not fit: the real mouse
    // must be paced, and the trace file must be writable.
    bool setUp(const LinkOptions& options, std::ostream& standardOutput, std::string& error);
    CUSBDriver& link() { return *link_; }
    HidBackend& backend() { return *backend_; }
    Clock& clock() { return *clock_; }
    bool isVirtual() const { return virtual_; }
    Trace* trace() { return trace_.get(); }
    bool tracesToStandardOutput() const { return traceToOut_; }
    // Plugging and unplugging as the link follows them: the virtual mouse's
    // own (worked through the FIFO of Q30X_VIRTUAL_CABLE when set), else the
    // system's. Null with `error` set when the cable cannot be opened.
    std::unique_ptr<DeviceNotificationSource> deviceNotifications(std::string& error);

private:
    bool virtual_ = false;
    VirtualMouse* virtualMouse_ = nullptr;  // inside backend_ when virtual
    bool traceToOut_ = false;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<HidBackend> backend_;
    std::ofstream traceFile_;
    std::unique_ptr<Trace> trace_;
    std::unique_ptr<CUSBDriver> link_;
};

// The desktop a profile's pointer settings go to. A pretend mouse must not
// change the user's real pointer, so with the virtual mouse they are only
// recorded unless `desktopWanted`. Without an X display they are recorded
// too, and `noDisplay` says whether that was against the user's wish.
std::unique_ptr<DesktopMouseSettings> makeDesktopFor(bool virtualMouse, bool desktopWanted,
                                                     void (*note)(const std::string&), bool& noDisplay);

}  // namespace q30x
