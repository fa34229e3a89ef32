#include "platform/hid.h"

namespace q30x {

std::vector<HidInterfaceInfo> hidInterfacesFromDescriptor(const std::string& path, uint16_t vendorId,
                                                          uint16_t productId, std::span<const uint8_t> descriptor) {
    HidInterfaceInfo base;
    base.path = path;
    base.vendorId = vendorId;
    base.productId = productId;
    HidDescriptor parsed = parseHidDescriptor(descriptor);
    if (!parsed.ok()) {
        base.problem = std::string("malformed report descriptor: ") + hidParseErrorText(parsed.error);
        return {base};
    }
    base.queried = true;
    std::vector<int> topLevels;
    for (std::size_t i = 0; i < parsed.collections.size(); ++i)
        if (parsed.collections[i].parent < 0) topLevels.push_back(static_cast<int>(i));
    if (topLevels.size() <= 1) {
        if (!topLevels.empty()) {
            base.usagePage = parsed.collections[topLevels[0]].usagePage;
            base.usage = parsed.collections[topLevels[0]].usage;
        }
        base.featureValues = hidValueCaps(parsed, HidReportKind::Feature);
        return {base};
    }
    std::vector<HidInterfaceInfo> entries;
    for (int topLevel : topLevels) {
        HidInterfaceInfo entry = base;
        entry.usagePage = parsed.collections[topLevel].usagePage;
        entry.usage = parsed.collections[topLevel].usage;
        entry.featureValues = hidValueCaps(parsed, HidReportKind::Feature, topLevel);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace q30x
