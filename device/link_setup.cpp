#include "device/link_setup.h"

#include <cstdlib>

#include "platform/virtual/instant_clock.h"
#include "platform/virtual/virtual_mouse.h"
#include "platform/virtual/virtual_plugging.h"

namespace q30x {

LinkOptions withEnvironment(LinkOptions options, bool traceGiven) {
    const char* virtualEnv = std::getenv("Q30X_VIRTUAL_MOUSE");
    if (virtualEnv && std::string(virtualEnv) == "1") options.virtualMouse = true;
    if (!traceGiven)
        if (const char* env = std::getenv("Q30X_TRACE")) options.tracePath = env;
    return options;
}

bool DeviceLinkSetup::setUp(const LinkOptions& options, std::ostream& standardOutput, std::string& error) {
    virtual_ = options.virtualMouse;
    if (options.noDelays && !virtual_) {
        error = "--no-delays needs --virtual-mouse: the real mouse must be paced";
        return false;
    }
    if (options.noDelays) clock_ = std::make_unique<InstantClock>();
    else clock_ = std::make_unique<RealClock>();

    if (virtual_) {
        VirtualConfigRead read = virtualMouseConfigFromEnvironment();
        if (!read.error.empty()) {
            error = read.error;
            return false;
        }
        auto mouse = std::make_unique<VirtualMouse>(read.config, *clock_);
        virtualMouse_ = mouse.get();
        backend_ = std::move(mouse);
    } else {
        backend_ = makeSystemHidBackend();
    }

    if (options.tracePath == "-") {
        traceToOut_ = true;
        trace_ = std::make_unique<Trace>(standardOutput);
    } else if (!options.tracePath.empty()) {
        traceFile_.open(options.tracePath, std::ios::out | std::ios::trunc);
        if (!traceFile_) {
            error = "cannot write the trace to " + options.tracePath;
            return false;
        }
        trace_ = std::make_unique<Trace>(traceFile_);
    }
    link_ = std::make_unique<CUSBDriver>(*backend_, *clock_, trace_.get());
    return true;
}

std::unique_ptr<DeviceNotificationSource> DeviceLinkSetup::deviceNotifications(std::string& error) {
    if (!virtualMouse_) return makeSystemDeviceNotifications();
    const char* cable = std::getenv("Q30X_VIRTUAL_CABLE");
    auto plugging = std::make_unique<VirtualPlugging>(*virtualMouse_, cable ? cable : "");
    if (!plugging->ready()) {
        error = std::string("Q30X_VIRTUAL_CABLE: cannot open ") + (cable ? cable : "the virtual mouse's plugging");
        return nullptr;
    }
    return plugging;
}

std::unique_ptr<DesktopMouseSettings> makeDesktopFor(bool virtualMouse, bool desktopWanted,
                                                     void (*note)(const std::string&), bool& noDisplay) {
    const bool real = !virtualMouse || desktopWanted;
    std::unique_ptr<DesktopMouseSettings> desktop;
    if (real) desktop = makeX11DesktopMouseSettings(note);
    noDisplay = real && !desktop;
    if (!desktop) desktop = std::make_unique<RecordingDesktopMouseSettings>();
    return desktop;
}

}  // namespace q30x
