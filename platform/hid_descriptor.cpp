#include "platform/hid_descriptor.h"

#include <algorithm>

namespace q30x {
namespace {

struct Globals {
    uint16_t usagePage = 0;
    int32_t logicalMinimum = 0;
    int32_t logicalMaximum = 0;
    uint32_t logicalMaximumRaw = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// A local usage before the main item fixes its page: a 4-byte usage carries
// its own page (extended usage), a shorter one takes the page in effect then.
struct PendingUsage {
    uint32_t value = 0;
    bool extended = false;
};

struct LocalUsage {
    PendingUsage first, last;
    bool isRange = false;
};

struct Locals {
    std::vector<LocalUsage> ordered;
    PendingUsage pendingMinimum;
    bool haveMinimum = false;

    void clear() {
        ordered.clear();
        pendingMinimum = {};
        haveMinimum = false;
    }
};

uint16_t pageOf(const PendingUsage& usage, uint16_t currentPage) {
    return usage.extended ? static_cast<uint16_t>(usage.value >> 16) : currentPage;
}

int32_t signedValue(uint32_t raw, int size) {
    switch (size) {
    case 1: return static_cast<int8_t>(raw);
    case 2: return static_cast<int16_t>(raw);
    case 4: return static_cast<int32_t>(raw);
    default: return 0;
    }
}

}  // namespace

const char* hidParseErrorText(HidParseError error) {
    switch (error) {
    case HidParseError::None: return "no error";
    case HidParseError::Truncated: return "an item runs past the end of the descriptor";
    case HidParseError::PopWithoutPush: return "Pop without a matching Push";
    case HidParseError::PushTooDeep: return "Push nested too deep";
    case HidParseError::EndWithoutCollection: return "End Collection without a Collection";
    case HidParseError::CollectionTooDeep: return "collections nested too deep";
    case HidParseError::UnclosedCollection: return "a Collection is never closed";
    case HidParseError::ReportIdZero: return "Report ID 0 is reserved";
    case HidParseError::TooManyItems: return "too many main items";
    case HidParseError::TooManyUsages: return "too many usages before one main item";
    }
    return "unknown error";
}

HidDescriptor parseHidDescriptor(std::span<const uint8_t> bytes) {
    HidDescriptor out;
    Globals globals;
    std::vector<Globals> stack;
    Locals locals;
    std::vector<int> open;  // indexes of the open collections
    auto fail = [&](HidParseError error, std::size_t offset) {
        out.error = error;
        out.errorOffset = offset;
        return out;
    };

    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t itemStart = at;
        const uint8_t prefix = bytes[at++];
        if (prefix == 0xFE) {
            // Long item: no defined long items exist, so it is skipped whole.
            if (bytes.size() - at < 2) return fail(HidParseError::Truncated, itemStart);
            const std::size_t length = bytes[at];
            at += 2;
            if (bytes.size() - at < length) return fail(HidParseError::Truncated, itemStart);
            at += length;
            continue;
        }
        const int size = (prefix & 0x03) == 3 ? 4 : (prefix & 0x03);
        if (bytes.size() - at < static_cast<std::size_t>(size)) return fail(HidParseError::Truncated, itemStart);
        uint32_t raw = 0;
        for (int i = 0; i < size; ++i) raw |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
        at += size;
        const int type = (prefix >> 2) & 0x03;
        const int tag = prefix >> 4;

        if (type == 0) {  // main
            if (tag == 0x8 || tag == 0x9 || tag == 0xB) {
                if (out.items.size() >= kHidMaxMainItems) return fail(HidParseError::TooManyItems, itemStart);
                HidMainItem item;
                item.kind = tag == 0x8 ? HidReportKind::Input : tag == 0x9 ? HidReportKind::Output : HidReportKind::Feature;
                item.flags = raw;
                item.reportId = globals.reportId;
                item.reportSize = globals.reportSize;
                item.reportCount = globals.reportCount;
                item.logicalMinimum = globals.logicalMinimum;
                // A non-negative minimum makes the maximum unsigned, as hosts read it.
                item.logicalMaximum = globals.logicalMinimum >= 0 && globals.logicalMaximum < 0
                                          ? static_cast<int32_t>(std::min<uint32_t>(globals.logicalMaximumRaw, 0x7FFFFFFF))
                                          : globals.logicalMaximum;
                item.collection = open.empty() ? -1 : open.back();
                item.topLevel = open.empty() ? -1 : open.front();
                item.usagePage = globals.usagePage;
                for (const LocalUsage& local : locals.ordered) {
                    HidUsage usage;
                    usage.page = pageOf(local.first, globals.usagePage);
                    usage.minimum = static_cast<uint16_t>(local.first.value);
                    usage.maximum = static_cast<uint16_t>(local.last.value);
                    usage.isRange = local.isRange;
                    if (usage.maximum < usage.minimum) std::swap(usage.minimum, usage.maximum);
                    item.usages.push_back(usage);
                }
                out.items.push_back(std::move(item));
            } else if (tag == 0xA) {  // Collection
                if (open.size() >= static_cast<std::size_t>(kHidMaxCollectionDepth))
                    return fail(HidParseError::CollectionTooDeep, itemStart);
                HidCollection collection;
                collection.type = static_cast<uint8_t>(raw);
                if (!locals.ordered.empty()) {
                    const PendingUsage& first = locals.ordered.front().first;
                    collection.usagePage = pageOf(first, globals.usagePage);
                    collection.usage = static_cast<uint16_t>(first.value);
                }
                collection.parent = open.empty() ? -1 : open.back();
                out.collections.push_back(collection);
                open.push_back(static_cast<int>(out.collections.size() - 1));
            } else if (tag == 0xC) {  // End Collection
                if (open.empty()) return fail(HidParseError::EndWithoutCollection, itemStart);
                open.pop_back();
            }
            locals.clear();  // every main item ends the local state
        } else if (type == 1) {  // global
            switch (tag) {
            case 0x0: globals.usagePage = static_cast<uint16_t>(raw); break;
            case 0x1: globals.logicalMinimum = signedValue(raw, size); break;
            case 0x2:
                globals.logicalMaximum = signedValue(raw, size);
                globals.logicalMaximumRaw = raw;
                break;
            case 0x7: globals.reportSize = raw; break;
            case 0x8:
                if (raw == 0 || raw > 0xFF) return fail(HidParseError::ReportIdZero, itemStart);
                globals.reportId = static_cast<uint8_t>(raw);
                break;
            case 0x9: globals.reportCount = raw; break;
            case 0xA:
                if (stack.size() >= static_cast<std::size_t>(kHidMaxPushDepth))
                    return fail(HidParseError::PushTooDeep, itemStart);
                stack.push_back(globals);
                break;
            case 0xB:
                if (stack.empty()) return fail(HidParseError::PopWithoutPush, itemStart);
                globals = stack.back();
                stack.pop_back();
                break;
            default: break;  // physical range, unit and exponent do not shape reports
            }
        } else if (type == 2) {  // local
            PendingUsage usage{raw, size == 4};
            switch (tag) {
            case 0x0:
                if (locals.ordered.size() >= kHidMaxLocalUsages) return fail(HidParseError::TooManyUsages, itemStart);
                locals.ordered.push_back({usage, usage, false});
                break;
            case 0x1:
                locals.pendingMinimum = usage;
                locals.haveMinimum = true;
                break;
            case 0x2:
                if (locals.ordered.size() >= kHidMaxLocalUsages) return fail(HidParseError::TooManyUsages, itemStart);
                // A maximum without a minimum ranges from usage 0 of its page.
                locals.ordered.push_back({locals.haveMinimum ? locals.pendingMinimum
                                                             : PendingUsage{usage.value & 0xFFFF0000u, usage.extended},
                                          usage, true});
                locals.haveMinimum = false;
                break;
            default: break;  // designators, strings and delimiters carry no layout
            }
        }
        // type 3 is reserved; its data has been skipped.
    }
    if (!open.empty()) return fail(HidParseError::UnclosedCollection, bytes.size());
    return out;
}

namespace {

std::vector<HidValueCaps> valueCaps(const HidDescriptor& descriptor, HidReportKind kind, const int* topLevel) {
    std::vector<HidValueCaps> caps;
    if (!descriptor.ok()) return caps;
    for (const HidMainItem& item : descriptor.items) {
        if (topLevel && item.topLevel != *topLevel) continue;
        if (item.kind != kind || item.reportCount == 0 || item.reportSize == 0) continue;
        if (item.flags & kHidConstant) continue;
        const bool button = !(item.flags & kHidVariable) || item.reportSize == 1;
        if (button) continue;
        HidValueCaps base;
        base.reportId = item.reportId;
        base.bitSize = static_cast<uint16_t>(std::min<uint32_t>(item.reportSize, 0xFFFF));
        base.logicalMinimum = item.logicalMinimum;
        base.logicalMaximum = item.logicalMaximum;
        if (item.usages.empty()) {
            base.usagePage = item.usagePage;
            base.reportCount = static_cast<uint16_t>(std::min<uint32_t>(item.reportCount, 0xFFFF));
            caps.push_back(base);
            continue;
        }
        // Fields take the usages in order; the last usage covers every
        // remaining field, and usages beyond the fields are unused.
        uint32_t remaining = item.reportCount;
        for (std::size_t i = 0; i < item.usages.size() && remaining > 0; ++i) {
            const HidUsage& usage = item.usages[i];
            const uint32_t span = usage.isRange ? static_cast<uint32_t>(usage.maximum - usage.minimum) + 1 : 1;
            const bool last = i + 1 == item.usages.size();
            const uint32_t fields = last ? remaining : std::min(span, remaining);
            HidValueCaps cap = base;
            cap.usagePage = usage.page;
            cap.usage = usage.minimum;
            cap.usageMaximum = usage.maximum;
            cap.isRange = usage.isRange;
            cap.reportCount = static_cast<uint16_t>(std::min<uint32_t>(fields, 0xFFFF));
            caps.push_back(cap);
            remaining -= fields;
        }
    }
    return caps;
}

}  // namespace

std::vector<HidValueCaps> hidValueCaps(const HidDescriptor& descriptor, HidReportKind kind) {
    return valueCaps(descriptor, kind, nullptr);
}

std::vector<HidValueCaps> hidValueCaps(const HidDescriptor& descriptor, HidReportKind kind, int topLevel) {
    return valueCaps(descriptor, kind, &topLevel);
}

}  // namespace q30x
