#include "cli/device_link.h"

#include <cstdlib>
#include <ostream>
#include <string>

#include "platform/virtual/instant_clock.h"
#include "platform/virtual/virtual_mouse.h"

namespace q30x::cli {

bool DeviceLink::setUp(Invocation& call) {
    const char* virtualEnv = std::getenv("Q30X_VIRTUAL_MOUSE");
    virtual_ = call.has("virtual-mouse") || (virtualEnv && std::string(virtualEnv) == "1");
    if (call.has("no-delays") && !virtual_) {
        call.err << "q30xctl: --no-delays needs --virtual-mouse: the real mouse must be paced\n";
        return false;
    }
    if (call.has("no-delays")) clock_ = std::make_unique<InstantClock>();
    else clock_ = std::make_unique<RealClock>();

    if (virtual_) {
        VirtualConfigRead read = virtualMouseConfigFromEnvironment();
        if (!read.error.empty()) {
            call.err << "q30xctl: " << read.error << "\n";
            return false;
        }
        backend_ = std::make_unique<VirtualMouse>(read.config, *clock_);
    } else {
        backend_ = makeSystemHidBackend();
    }

    std::string tracePath;
    if (auto option = call.options.find("trace"); option != call.options.end()) tracePath = option->second;
    else if (const char* env = std::getenv("Q30X_TRACE")) tracePath = env;
    if (tracePath == "-") {
        traceToOut_ = true;
        trace_ = std::make_unique<Trace>(call.out);
    } else if (!tracePath.empty()) {
        traceFile_.open(tracePath, std::ios::out | std::ios::trunc);
        if (!traceFile_) {
            call.err << "q30xctl: cannot write the trace to " << tracePath << "\n";
            return false;
        }
        trace_ = std::make_unique<Trace>(traceFile_);
    }
    link_ = std::make_unique<CUSBDriver>(*backend_, *clock_, trace_.get());
    return true;
}

}  // namespace q30x::cli
