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

}  // namespace q30x::cli
