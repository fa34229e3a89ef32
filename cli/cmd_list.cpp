#include <cstdio>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/device_link.h"

namespace q30x::cli {
namespace {

std::string hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
    return buffer;
}

std::string describeValue(const HidValueCaps& caps) {
    std::string usage = caps.isRange ? "usages 0x" + hex(caps.usage, 4) + "-0x" + hex(caps.usageMaximum, 4)
                                     : "usage 0x" + hex(caps.usage, 4);
    return "usage page 0x" + hex(caps.usagePage, 4) + ", " + usage + ", report id " + std::to_string(caps.reportId) +
           ", report count " + std::to_string(caps.reportCount) + ", " + std::to_string(caps.bitSize) + " bits";
}

int runList(Invocation& call) {
    if (!call.args.empty()) {
        call.err << "usage: q30xctl list\n";
        return kExitUsage;
    }
    DeviceLink device;
    if (!device.setUp(call)) return kExitUsage;
    CUSBDriver& link = device.link();
    const bool opened = link.openDevice();
    const auto& search = link.lastSearch();
    if (search.empty()) call.out << "no HID interfaces found\n";
    for (const InterfaceSearchEntry& entry : search) {
        const HidInterfaceInfo& info = entry.info;
        call.out << info.path << "  " << hex(info.vendorId, 4) << ":" << hex(info.productId, 4) << "\n";
        if (info.queried && info.featureValues.empty()) call.out << "  feature values: none\n";
        for (const HidValueCaps& caps : info.featureValues) call.out << "  feature value: " << describeValue(caps) << "\n";
        call.out << "  " << interfaceVerdictText(entry) << "\n";
    }
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
