#include "cli/device_link.h"

#include <ostream>

namespace q30x::cli {

bool setUpLink(Invocation& call, DeviceLinkSetup& device) {
    LinkOptions options;
    options.virtualMouse = call.has("virtual-mouse");
    options.noDelays = call.has("no-delays");
    if (call.has("trace")) options.tracePath = call.options["trace"];
    std::string error;
    if (device.setUp(withEnvironment(options, call.has("trace")), call.out, error)) return true;
    call.err << "q30xctl: " << error << "\n";
    return false;
}

bool openMouse(Invocation& call, CUSBDriver& link) {
    if (openDeviceWithRetries(link)) return true;
    call.err << "The Q30X gaming mouse cannot be found.\n";
    return false;
}

std::optional<int> firmwareVersionOf(Invocation& call, CUSBDriver& link) {
    int version = 0;
    if (link.readFirmwareVersion(version)) return version;
    call.err << "q30xctl: the mouse gave no firmware version\n";
    return std::nullopt;
}

}  // namespace q30x::cli
