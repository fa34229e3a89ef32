#include <ostream>

#include "cli/commands.h"
#include "cli/device_link.h"

namespace q30x::cli {
namespace {

int runList(Invocation& call) {
    if (!call.args.empty()) {
        call.err << "usage: q30xctl list\n";
        return kExitUsage;
    }
    DeviceLinkSetup device;
    if (!setUpLink(call, device)) return kExitUsage;
    CUSBDriver& link = device.link();
    const bool opened = link.openDevice();
    if (link.lastSearch().empty()) call.out << "no HID interfaces found\n";
    for (const InterfaceSearchEntry& entry : link.lastSearch()) call.out << describeInterface(entry);
    link.closeDevice();
    if (!opened) {
        call.err << "The Q30X gaming mouse cannot be found.\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

const Command kListCommand = {
    "list", "", "list every HID interface and whether the device link would open it",
    "Prints each HID interface with its vendor and product ids and its feature\n"
    "value capabilities, then what the device link's search makes of it: the\n"
    "one it opens, or why it skips it. Exit status 1 when none is the mouse.",
    runList};

}  // namespace q30x::cli
