#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace q30x {

// A HID report descriptor read into its main items, the way a host HID parser
// sees it. Pure code: both backends and the fuzz target feed it bytes.

enum class HidReportKind : uint8_t { Input, Output, Feature };

// The bits of a main item's data (Input, Output, Feature).
inline constexpr uint32_t kHidConstant = 0x01;
inline constexpr uint32_t kHidVariable = 0x02;
inline constexpr uint32_t kHidRelative = 0x04;

struct HidUsage {
    uint16_t page = 0;
    uint16_t minimum = 0;  // the usage, or the first of a range
    uint16_t maximum = 0;  // equal to minimum unless a range
    bool isRange = false;
};

struct HidCollection {
    uint8_t type = 0;  // 0 physical, 1 application, 2 logical, ...
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    int parent = -1;  // index into collections, -1 at the top
};

struct HidMainItem {
    HidReportKind kind = HidReportKind::Input;
    uint32_t flags = 0;
    uint8_t reportId = 0;  // 0 when the descriptor has no report ids
    uint32_t reportSize = 0;   // bits per field
    uint32_t reportCount = 0;  // fields
    int32_t logicalMinimum = 0;
    int32_t logicalMaximum = 0;
    int collection = -1;  // innermost open collection, -1 outside any
    int topLevel = -1;    // outermost open collection, -1 outside any
    uint16_t usagePage = 0;        // the page in effect at the item
    std::vector<HidUsage> usages;  // in declaration order, pages resolved
};

enum class HidParseError : uint8_t {
    None,
    Truncated,            // an item runs past the end
    PopWithoutPush,
    PushTooDeep,
    EndWithoutCollection,
    CollectionTooDeep,
    UnclosedCollection,
    ReportIdZero,         // report id 0 is reserved
    TooManyItems,
    TooManyUsages,
};

struct HidDescriptor {
    HidParseError error = HidParseError::None;
    std::size_t errorOffset = 0;  // byte offset of the offending item
    std::vector<HidCollection> collections;
    std::vector<HidMainItem> items;
    bool ok() const { return error == HidParseError::None; }
};

// Limits that keep a hostile descriptor from costing memory or time.
inline constexpr int kHidMaxPushDepth = 16;
inline constexpr int kHidMaxCollectionDepth = 32;
inline constexpr std::size_t kHidMaxMainItems = 1024;
inline constexpr std::size_t kHidMaxLocalUsages = 256;

// Reads the whole descriptor. On an error the items read so far are kept,
// but callers treat the descriptor as unusable.
HidDescriptor parseHidDescriptor(std::span<const uint8_t> bytes);

const char* hidParseErrorText(HidParseError error);

// One value capability, as HidP_GetValueCaps reports it: a variable field of
// more than one bit, or a run of such fields sharing a usage (range).
struct HidValueCaps {
    uint16_t usagePage = 0;
    uint16_t usage = 0;  // the first usage of a range
    uint16_t usageMaximum = 0;
    bool isRange = false;
    uint8_t reportId = 0;
    uint16_t reportCount = 0;
    uint16_t bitSize = 0;
    int32_t logicalMinimum = 0;
    int32_t logicalMaximum = 0;
};

// The value capabilities of one report kind, in descriptor order, of every
// item or of the items inside one top-level collection (an index into
// collections). Constant fields (padding) and buttons (array items, one-bit
// variables) are not values. Nothing for a descriptor that did not parse.
std::vector<HidValueCaps> hidValueCaps(const HidDescriptor& descriptor, HidReportKind kind);
std::vector<HidValueCaps> hidValueCaps(const HidDescriptor& descriptor, HidReportKind kind, int topLevel);

}  // namespace q30x
