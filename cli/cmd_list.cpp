#include <cstdio>
#include <ostream>

#include "cli/commands.h"
#include "cli/device_link.h"
#include "cli/json_writer.h"

namespace q30x::cli {
namespace {

std::string hex4(uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

const char* verdictWord(InterfaceVerdict verdict) {
    switch (verdict) {
    case InterfaceVerdict::Opened: return "opened";
    case InterfaceVerdict::NotQueried: return "not-queried";
    case InterfaceVerdict::OtherDevice: return "other-device";
    case InterfaceVerdict::NoFeatureValues: return "no-feature-values";
    case InterfaceVerdict::NoVendorValue: return "no-vendor-value";
    case InterfaceVerdict::UnusableLength: return "unusable-length";
    case InterfaceVerdict::OpenFailed: return "open-failed";
    case InterfaceVerdict::LaterMatch: return "later-match";
    }
    return "";
}

void printSearchJson(std::ostream& out, const CUSBDriver& link, bool opened) {
    JsonWriter json(out);
    json.beginObject().key("interfaces").beginArray();
    for (const InterfaceSearchEntry& entry : link.lastSearch()) {
        const HidInterfaceInfo& info = entry.info;
        json.beginObject();
        json.key("path").value(info.path);
        json.key("vendorId").value(hex4(info.vendorId));
        json.key("productId").value(hex4(info.productId));
        json.key("queried").value(info.queried);
        json.key("usagePage").value(hex4(info.usagePage));
        json.key("usage").value(hex4(info.usage));
        json.key("featureValues").beginArray();
        for (const HidValueCaps& caps : info.featureValues) {
            json.beginObject();
            json.key("usagePage").value(hex4(caps.usagePage));
            json.key("usage").value(hex4(caps.usage));
            json.key("usageMaximum").value(hex4(caps.isRange ? caps.usageMaximum : caps.usage));
            json.key("reportId").value(static_cast<int32_t>(caps.reportId));
            json.key("reportCount").value(static_cast<int32_t>(caps.reportCount));
            json.key("bitSize").value(static_cast<int32_t>(caps.bitSize));
            json.endObject();
        }
        json.endArray();
        json.key("verdict").value(verdictWord(entry.match.verdict));
        json.key("verdictText").value(interfaceVerdictText(entry));
        json.endObject();
    }
    json.endArray();
    if (opened) json.key("opened").value(link.openedPath());
    else json.key("opened").null();
    json.endObject();
}

int runList(Invocation& call) {
    if (!call.args.empty()) {
        call.err << "usage: q30xctl list [--json]\n";
        return kExitUsage;
    }
    DeviceLinkSetup device;
    if (!setUpLink(call, device)) return kExitUsage;
    CUSBDriver& link = device.link();
    const bool opened = link.openDevice();
    if (call.has("json")) {
        printSearchJson(call.out, link, opened);
    } else {
        if (link.lastSearch().empty()) call.out << "no HID interfaces found\n";
        for (const InterfaceSearchEntry& entry : link.lastSearch()) call.out << describeInterface(entry);
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
    "list", "[--json]", "list every HID interface and whether the device link would open it",
    "Prints each HID interface with its vendor and product ids and its feature\n"
    "value capabilities, then what the device link's search makes of it: the\n"
    "one it opens, or why it skips it. Exit status 1 when none is the mouse.\n"
    "With --json: {\"interfaces\": [{\"path\": \"virtual/vendor\", \"vendorId\":\n"
    "\"0x3C1F\", \"productId\": \"0x7E02\", \"queried\": true, \"usagePage\": \"0xFF01\",\n"
    "\"usage\": \"0x0001\", \"featureValues\": [{\"usagePage\": \"0xFF01\", \"usage\":\n"
    "\"0x0022\", \"usageMaximum\": \"0x0022\", \"reportId\": 6, \"reportCount\": 8,\n"
    "\"bitSize\": 8}], \"verdict\": \"opened\", \"verdictText\": \"opened by the link:\n"
    "report id 6, report length 8\"}, ...], \"opened\": \"virtual/vendor\"}. verdict is\n"
    "one of opened, not-queried, other-device, no-feature-values, no-vendor-value,\n"
    "unusable-length, open-failed, later-match; opened is null when none is the mouse.",
    runList};

}  // namespace q30x::cli
