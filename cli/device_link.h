#pragma once
#include <optional>

#include "cli/cli.h"
#include "device/link_setup.h"

namespace q30x::cli {

// The device link of one command from the global options (--virtual-mouse,
// --no-delays, --trace) and the environment. False, with the reason on
// call.err, when the options do not fit.
bool setUpLink(Invocation& call, DeviceLinkSetup& device);

// Opens the mouse as the program does at start-up (10 attempts, 500 ms
// apart); false, having said so, when it cannot be found.
bool openMouse(Invocation& call, CUSBDriver& link);

// The mouse's firmware version; none, noted on call.err, when it gave none.
std::optional<int> firmwareVersionOf(Invocation& call, CUSBDriver& link);

}  // namespace q30x::cli
