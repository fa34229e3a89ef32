#pragma once
#include "cli/cli.h"
#include "device/link_setup.h"

namespace q30x::cli {

// The device link of one command from the global options (--virtual-mouse,
// --no-delays, --trace) and the environment. False, with the reason on
// call.err, when the options do not fit.
bool setUpLink(Invocation& call, DeviceLinkSetup& device);

}  // namespace q30x::cli
