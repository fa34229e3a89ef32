#include <ostream>

#include "cli/commands.h"
#include "cli/device_link.h"
#include "cli/json_writer.h"
#include "device/firmware_version.h"
#include "platform/utf16.h"

namespace q30x::cli {
namespace {

int runInfo(Invocation& call) {
    if (!call.args.empty()) {
        call.err << "usage: q30xctl info [--json]\n";
        return kExitUsage;
    }
    DeviceLinkSetup device;
    if (!setUpLink(call, device)) return kExitUsage;
    CUSBDriver& link = device.link();
    if (!openMouse(call, link)) return kExitFailure;
    if (!call.has("json"))
        call.out << "mouse: " << link.openedPath() << " (report id " << int(link.reportId()) << ", report length "
                 << link.reportLength() << ")\n";
    const std::optional<int> version = firmwareVersionOf(call, link);
    const std::u16string text = firmwareVersionText(version);
    const std::string shown = toUtf8(firmwareVersionLabel(text));
    if (!call.has("json")) {
        call.out << "firmware version: " << shown << "\n";
        return kExitOk;
    }
    JsonWriter json(call.out);
    json.beginObject();
    json.key("path").value(link.openedPath());
    json.key("reportId").value(static_cast<int32_t>(link.reportId()));
    json.key("reportLength").value(link.reportLength());
    if (text.empty()) json.key("firmwareVersion").null();
    else json.key("firmwareVersion").value(static_cast<int32_t>(*version));
    json.key("firmwareVersionShown").value(shown);
    json.endObject();
    return kExitOk;
}

}  // namespace

const Command kInfoCommand = {
    "info", "[--json]", "open the mouse and print its firmware version",
    "Opens the mouse as the program does at start-up (up to 10 attempts, 500 ms\n"
    "apart), reads its firmware version and prints it as the support page shows\n"
    "it (\"V 0.1.2\", or \"Unknown\"). Exit status 1 when the mouse cannot be found.\n"
    "With --json: {\"path\": \"virtual/vendor\", \"reportId\": 6, \"reportLength\": 8,\n"
    "\"firmwareVersion\": 12, \"firmwareVersionShown\": \"V 0.1.2\"}; firmwareVersion\n"
    "is null when the mouse gives none (or 0).",
    runInfo};

}  // namespace q30x::cli
