#include <ostream>

#include "cli/commands.h"
#include "cli/device_link.h"
#include "device/firmware_version.h"
#include "platform/utf16.h"

namespace q30x::cli {
namespace {

int runInfo(Invocation& call) {
    if (!call.args.empty()) {
        call.err << "usage: q30xctl info\n";
        return kExitUsage;
    }
    DeviceLinkSetup device;
    if (!setUpLink(call, device)) return kExitUsage;
    CUSBDriver& link = device.link();
    if (!openDeviceWithRetries(link)) {
        call.err << "The Q30X gaming mouse cannot be found.\n";
        return kExitFailure;
    }
    call.out << "mouse: " << link.openedPath() << " (report id " << int(link.reportId()) << ", report length "
             << link.reportLength() << ")\n";
    int version = 0;
    const bool read = link.readFirmwareVersion(version);
    if (!read) call.err << "q30xctl: the mouse gave no firmware version\n";
    call.out << "firmware version: "
             << toUtf8(firmwareVersionLabel(firmwareVersionText(read ? std::optional<int>(version) : std::nullopt)))
             << "\n";
    return kExitOk;
}

}  // namespace

const Command kInfoCommand = {
    "info", "", "open the mouse and print its firmware version",
    "Opens the mouse as the program does at start-up (up to 10 attempts, 500 ms\n"
    "apart), reads its firmware version and prints it as the support page shows\n"
    "it (\"V 0.1.2\", or \"Unknown\"). Exit status 1 when the mouse cannot be found.",
    runInfo};

}  // namespace q30x::cli
