// libFuzzer target: any bytes a device may hand over as its report
// descriptor must parse to a result or an error, never to a crash, and what
// the parser returns must hold together.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/hid.h"
#include "platform/hid_descriptor.h"

using namespace q30x;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HidDescriptor descriptor = parseHidDescriptor(std::span(data, size));
    if (descriptor.items.size() > kHidMaxMainItems) std::abort();
    for (std::size_t i = 0; i < descriptor.collections.size(); ++i)
        if (descriptor.collections[i].parent >= static_cast<int>(i)) std::abort();
    for (const HidMainItem& item : descriptor.items) {
        if (item.collection >= static_cast<int>(descriptor.collections.size())) std::abort();
        if (item.usages.size() > kHidMaxLocalUsages) std::abort();
        if (item.topLevel >= 0 && descriptor.collections[item.topLevel].parent != -1) std::abort();
    }
    for (auto kind : {HidReportKind::Input, HidReportKind::Output, HidReportKind::Feature}) {
        auto caps = hidValueCaps(descriptor, kind);
        if (!descriptor.ok() && !caps.empty()) std::abort();
        for (const HidValueCaps& cap : caps)
            if (cap.reportCount == 0 || cap.bitSize < 2 || cap.usageMaximum < cap.usage) std::abort();
    }
    auto entries = hidInterfacesFromDescriptor("fuzz", 1, 2, std::span(data, size));
    if (entries.empty()) std::abort();
    return 0;
}
