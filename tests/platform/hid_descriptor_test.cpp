#include "platform/hid_descriptor.h"

#include "platform/hid.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/virtual/virtual_mouse.h"

namespace q30x {
namespace {

using Bytes = std::vector<uint8_t>;

// One line per main item, in wire order, so an expectation reads like the
// descriptor it checks.
std::string itemText(const HidMainItem& item) {
    static const char* kinds[] = {"Input", "Output", "Feature"};
    char head[128];
    std::snprintf(head, sizeof head, "%s id=%u %ux%u flags=%02X logical=%d..%d coll=%d", kinds[int(item.kind)],
                  item.reportId, item.reportSize, item.reportCount, item.flags, item.logicalMinimum,
                  item.logicalMaximum, item.collection);
    std::string text = head;
    for (const HidUsage& usage : item.usages) {
        char part[32];
        if (usage.isRange) std::snprintf(part, sizeof part, " %04X:%04X-%04X", usage.page, usage.minimum, usage.maximum);
        else std::snprintf(part, sizeof part, " %04X:%04X", usage.page, usage.minimum);
        text += part;
    }
    return text;
}

std::vector<std::string> itemsOf(const HidDescriptor& descriptor) {
    std::vector<std::string> lines;
    for (const auto& item : descriptor.items) lines.push_back(itemText(item));
    return lines;
}

std::string capsText(const HidValueCaps& caps) {
    char text[128];
    std::snprintf(text, sizeof text, "%04X:%04X%s id=%u count=%u bits=%u logical=%d..%d", caps.usagePage, caps.usage,
                  caps.isRange ? "+" : "", caps.reportId, caps.reportCount, caps.bitSize, caps.logicalMinimum,
                  caps.logicalMaximum);
    return text;
}

std::vector<std::string> capsOf(const HidDescriptor& descriptor, HidReportKind kind) {
    std::vector<std::string> lines;
    for (const auto& caps : hidValueCaps(descriptor, kind)) lines.push_back(capsText(caps));
    return lines;
}

Bytes bytesOf(std::span<const uint8_t> span) { return Bytes(span.begin(), span.end()); }

// The boot mouse report descriptor of the USB HID class definition (1.11),
// appendix B.2 and its example in appendix E.10, as the virtual pointer uses.
TEST(HidDescriptor, BootMouse) {
    const Bytes mouse = {
        0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15,
        0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01,
        0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0,
    };
    EXPECT_EQ(bytesOf(virtualPointerDescriptor()), mouse);
    HidDescriptor d = parseHidDescriptor(mouse);
    ASSERT_TRUE(d.ok()) << hidParseErrorText(d.error);
    EXPECT_EQ(itemsOf(d), (std::vector<std::string>{
                              "Input id=0 1x3 flags=02 logical=0..1 coll=1 0009:0001-0003",
                              "Input id=0 5x1 flags=01 logical=0..1 coll=1",
                              "Input id=0 8x2 flags=06 logical=-127..127 coll=1 0001:0030 0001:0031",
                          }));
    ASSERT_EQ(d.collections.size(), 2u);
    EXPECT_EQ(d.collections[0].type, 1);
    EXPECT_EQ(d.collections[0].usage, 0x02);
    EXPECT_EQ(d.collections[0].parent, -1);
    EXPECT_EQ(d.collections[1].type, 0);
    EXPECT_EQ(d.collections[1].usage, 0x01);
    EXPECT_EQ(d.collections[1].parent, 0);
    // Buttons and padding are not values; X and Y are one value each.
    EXPECT_EQ(capsOf(d, HidReportKind::Input), (std::vector<std::string>{
                                                   "0001:0030 id=0 count=1 bits=8 logical=-127..127",
                                                   "0001:0031 id=0 count=1 bits=8 logical=-127..127",
                                               }));
    EXPECT_TRUE(capsOf(d, HidReportKind::Feature).empty());
}

// The boot keyboard report descriptor of the USB HID class definition (1.11),
// appendix B.1 and its example in appendix E.6.
TEST(HidDescriptor, BootKeyboard) {
    const Bytes keyboard = {
        0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
        0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
        0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
        0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0,
    };
    EXPECT_EQ(bytesOf(virtualKeyboardDescriptor()), keyboard);
    HidDescriptor d = parseHidDescriptor(keyboard);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(itemsOf(d), (std::vector<std::string>{
                              "Input id=0 1x8 flags=02 logical=0..1 coll=0 0007:00E0-00E7",
                              "Input id=0 8x1 flags=01 logical=0..1 coll=0",
                              "Output id=0 1x5 flags=02 logical=0..1 coll=0 0008:0001-0005",
                              "Output id=0 3x1 flags=01 logical=0..1 coll=0",
                              "Input id=0 8x6 flags=00 logical=0..101 coll=0 0007:0000-0065",
                          }));
    // Modifier bits, LEDs and the key array are all buttons to a host parser.
    for (auto kind : {HidReportKind::Input, HidReportKind::Output, HidReportKind::Feature})
        EXPECT_TRUE(capsOf(d, kind).empty());
}

// The vendor-defined command interface of the Q30X as the virtual mouse
// presents it (written for this project from the mouse's protocol).
TEST(HidDescriptor, VendorDefinedInterface) {
    const Bytes vendor = {
        0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
        0x08, 0x09, 0x22, 0x95, 0x08, 0xB1, 0x02, 0x09, 0x23, 0x95, 0x20, 0x91, 0x02, 0xC0,
    };
    EXPECT_EQ(bytesOf(virtualVendorDescriptor()), vendor);
    HidDescriptor d = parseHidDescriptor(vendor);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(itemsOf(d), (std::vector<std::string>{
                              "Feature id=6 8x8 flags=02 logical=0..255 coll=0 FF01:0022",
                              "Output id=6 8x32 flags=02 logical=0..255 coll=0 FF01:0023",
                          }));
    EXPECT_EQ(capsOf(d, HidReportKind::Feature),
              (std::vector<std::string>{"FF01:0022 id=6 count=8 bits=8 logical=0..255"}));
    EXPECT_EQ(capsOf(d, HidReportKind::Output),
              (std::vector<std::string>{"FF01:0023 id=6 count=32 bits=8 logical=0..255"}));
}

// A composite of three reports written for this project from the rules of
// the HID class definition: a mouse whose wheel is declared between Push and
// Pop, a consumer-control array, and a vendor feature named by an extended
// (four-byte) usage.
const Bytes kComposite = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,        // Generic Desktop, Mouse, Collection (Application)
    0x85, 0x01, 0x09, 0x01, 0xA1, 0x00,        //   Report ID 1, Pointer, Collection (Physical)
    0x05, 0x09, 0x19, 0x01, 0x29, 0x05,        //     Button 1 to 5
    0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x03, 0x81, 0x01,        //     padding
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31,        //     X, Y, 16 bits each
    0x16, 0x01, 0x80, 0x26, 0xFF, 0x7F, 0x75, 0x10, 0x95, 0x02, 0x81, 0x06,
    0xA4,                                      //     Push
    0x09, 0x38, 0x15, 0x81, 0x25, 0x7F,        //       Wheel, 8 bits
    0x75, 0x08, 0x95, 0x01, 0x81, 0x06,
    0xB4,                                      //     Pop: 16 bits, two fields again
    0x09, 0x48, 0xB1, 0x02,                    //     Resolution Multiplier (feature)
    0xC0, 0xC0,
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,        // Consumer, Consumer Control
    0x85, 0x02, 0x19, 0x00, 0x2A, 0x3C, 0x02,  //   Report ID 2, usages 0 to 0x23C
    0x15, 0x00, 0x26, 0x3C, 0x02, 0x95, 0x01, 0x75, 0x10, 0x81, 0x00,
    0xC0,
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,  // Vendor 0xFF00
    0x85, 0x03, 0x0B, 0x22, 0x00, 0x01, 0xFF,  //   Report ID 3, Usage 0xFF01:0x0022
    0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02,
    0xC0,
};

TEST(HidDescriptor, ReportIdsPushPopAndExtendedUsage) {
    const Bytes& composite = kComposite;
    HidDescriptor d = parseHidDescriptor(composite);
    ASSERT_TRUE(d.ok()) << hidParseErrorText(d.error) << " at " << d.errorOffset;
    EXPECT_EQ(itemsOf(d), (std::vector<std::string>{
                              "Input id=1 1x5 flags=02 logical=0..1 coll=1 0009:0001-0005",
                              "Input id=1 3x1 flags=01 logical=0..1 coll=1",
                              "Input id=1 16x2 flags=06 logical=-32767..32767 coll=1 0001:0030 0001:0031",
                              "Input id=1 8x1 flags=06 logical=-127..127 coll=1 0001:0038",
                              "Feature id=1 16x2 flags=02 logical=-32767..32767 coll=1 0001:0048",
                              "Input id=2 16x1 flags=00 logical=0..572 coll=2 000C:0000-023C",
                              "Feature id=3 8x7 flags=02 logical=0..255 coll=3 FF01:0022",
                          }));
    EXPECT_EQ(capsOf(d, HidReportKind::Feature), (std::vector<std::string>{
                                                     "0001:0048 id=1 count=2 bits=16 logical=-32767..32767",
                                                     "FF01:0022 id=3 count=7 bits=8 logical=0..255",
                                                 }));
    ASSERT_EQ(d.collections.size(), 4u);
    EXPECT_EQ(d.collections[3].usagePage, 0xFF00);
    std::vector<int> topLevels;
    for (const auto& item : d.items) topLevels.push_back(item.topLevel);
    EXPECT_EQ(topLevels, (std::vector<int>{0, 0, 0, 0, 0, 2, 3}));
}

// A node with several top-level collections is listed once per collection,
// each with its own feature values, as the system lists HID interfaces.
TEST(HidInterfaces, OneEntryPerTopLevelCollection) {
    auto entries = hidInterfacesFromDescriptor("/dev/hidraw7", 0x3C1F, 0x7E02, kComposite);
    ASSERT_EQ(entries.size(), 3u);
    const std::pair<uint16_t, uint16_t> collections[] = {{0x0001, 0x0002}, {0x000C, 0x0001}, {0xFF00, 0x0001}};
    const std::size_t values[] = {1, 0, 1};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].path, "/dev/hidraw7");
        EXPECT_TRUE(entries[i].queried);
        EXPECT_EQ(entries[i].usagePage, collections[i].first) << i;
        EXPECT_EQ(entries[i].usage, collections[i].second) << i;
        EXPECT_EQ(entries[i].featureValues.size(), values[i]) << i;
    }
    EXPECT_EQ(entries[2].featureValues[0].usagePage, 0xFF01);
    EXPECT_EQ(entries[2].featureValues[0].reportId, 3);

    auto single = hidInterfacesFromDescriptor("v", 1, 2, virtualVendorDescriptor());
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].usagePage, 0xFF01);
    EXPECT_EQ(single[0].featureValues.size(), 1u);

    const Bytes broken = {0x05, 0x01, 0xA1, 0x01};
    auto refused = hidInterfacesFromDescriptor("b", 1, 2, broken);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_FALSE(refused[0].queried);
    EXPECT_EQ(refused[0].problem, "malformed report descriptor: a Collection is never closed");
}

TEST(HidDescriptor, UsagesAreSharedOutAmongTheFields) {
    struct Case {
        const char* what;
        Bytes locals;  // local items before a Feature item of five 8-bit fields
        std::vector<std::string> caps;
    };
    const Case cases[] = {
        {"no usage", {}, {"FF01:0000 id=0 count=5 bits=8 logical=0..255"}},
        {"one usage takes every field", {0x09, 0x22}, {"FF01:0022 id=0 count=5 bits=8 logical=0..255"}},
        {"the last usage takes the rest",
         {0x09, 0x20, 0x09, 0x21},
         {"FF01:0020 id=0 count=1 bits=8 logical=0..255", "FF01:0021 id=0 count=4 bits=8 logical=0..255"}},
        {"usages beyond the fields are unused",
         {0x09, 0x01, 0x09, 0x02, 0x09, 0x03, 0x09, 0x04, 0x09, 0x05, 0x09, 0x06},
         {"FF01:0001 id=0 count=1 bits=8 logical=0..255", "FF01:0002 id=0 count=1 bits=8 logical=0..255",
          "FF01:0003 id=0 count=1 bits=8 logical=0..255", "FF01:0004 id=0 count=1 bits=8 logical=0..255",
          "FF01:0005 id=0 count=1 bits=8 logical=0..255"}},
        {"a range", {0x19, 0x10, 0x29, 0x14}, {"FF01:0010+ id=0 count=5 bits=8 logical=0..255"}},
        {"a maximum alone ranges from 0", {0x29, 0x04}, {"FF01:0000+ id=0 count=5 bits=8 logical=0..255"}},
    };
    for (const auto& c : cases) {
        Bytes bytes = {0x06, 0x01, 0xFF, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x05};
        bytes.insert(bytes.end(), c.locals.begin(), c.locals.end());
        bytes.insert(bytes.end(), {0xB1, 0x02});
        HidDescriptor d = parseHidDescriptor(bytes);
        ASSERT_TRUE(d.ok()) << c.what;
        EXPECT_EQ(capsOf(d, HidReportKind::Feature), c.caps) << c.what;
    }
}

TEST(HidDescriptor, ButtonsConstantsAndEmptyItemsAreNoValues) {
    const Bytes cases[] = {
        {0x06, 0x01, 0xFF, 0x09, 0x22, 0x75, 0x08, 0x95, 0x08, 0xB1, 0x00},  // array
        {0x06, 0x01, 0xFF, 0x09, 0x22, 0x75, 0x01, 0x95, 0x08, 0xB1, 0x02},  // one-bit variables
        {0x06, 0x01, 0xFF, 0x09, 0x22, 0x75, 0x08, 0x95, 0x08, 0xB1, 0x03},  // constant
        {0x06, 0x01, 0xFF, 0x09, 0x22, 0x75, 0x08, 0x95, 0x00, 0xB1, 0x02},  // no fields
        {0x06, 0x01, 0xFF, 0x09, 0x22, 0x75, 0x00, 0x95, 0x08, 0xB1, 0x02},  // fields of no bits
    };
    for (const auto& bytes : cases) {
        HidDescriptor d = parseHidDescriptor(bytes);
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.items.size(), 1u);
        EXPECT_TRUE(hidValueCaps(d, HidReportKind::Feature).empty()) << itemText(d.items[0]);
    }
}

TEST(HidDescriptor, LongItemsAreSkippedAndLocalsEndAtEachMainItem) {
    const Bytes bytes = {0xFE, 0x02, 0x10, 0xAA, 0xBB,  // long item with two data bytes
                         0x06, 0x01, 0xFF, 0x75, 0x08, 0x95, 0x02, 0x09, 0x22, 0xB1, 0x02, 0xB1, 0x02};
    HidDescriptor d = parseHidDescriptor(bytes);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(capsOf(d, HidReportKind::Feature), (std::vector<std::string>{
                                                     "FF01:0022 id=0 count=2 bits=8 logical=0..0",
                                                     "FF01:0000 id=0 count=2 bits=8 logical=0..0",
                                                 }));
}

Bytes repeated(Bytes unit, int times, Bytes tail = {}) {
    Bytes bytes;
    for (int i = 0; i < times; ++i) bytes.insert(bytes.end(), unit.begin(), unit.end());
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

TEST(HidDescriptor, MalformedDescriptorsAreRefusedWithTheirOffset) {
    struct Case {
        Bytes bytes;
        HidParseError error;
        std::size_t offset;
    };
    const Case cases[] = {
        {{0x05}, HidParseError::Truncated, 0},
        {{0x05, 0x01, 0x27, 0x01, 0x02}, HidParseError::Truncated, 2},
        {{0xFE, 0x05, 0x00, 0x01}, HidParseError::Truncated, 0},
        {{0xFE}, HidParseError::Truncated, 0},
        {{0x05, 0x01, 0xB4}, HidParseError::PopWithoutPush, 2},
        {{0xC0}, HidParseError::EndWithoutCollection, 0},
        {{0xA1, 0x01, 0xA1, 0x00, 0xC0}, HidParseError::UnclosedCollection, 5},
        {{0x85, 0x00}, HidParseError::ReportIdZero, 0},
        {{0x86, 0x00, 0x01}, HidParseError::ReportIdZero, 0},
        {repeated({0xA4}, kHidMaxPushDepth + 1), HidParseError::PushTooDeep, kHidMaxPushDepth},
        {repeated({0xA1, 0x01}, kHidMaxCollectionDepth + 1), HidParseError::CollectionTooDeep,
         2 * kHidMaxCollectionDepth},
        {repeated({0x09, 0x01}, kHidMaxLocalUsages + 1), HidParseError::TooManyUsages, 2 * kHidMaxLocalUsages},
        {repeated({0x81, 0x02}, kHidMaxMainItems + 1), HidParseError::TooManyItems, 2 * kHidMaxMainItems},
    };
    for (const auto& c : cases) {
        HidDescriptor d = parseHidDescriptor(c.bytes);
        EXPECT_EQ(d.error, c.error) << hidParseErrorText(d.error);
        EXPECT_EQ(d.errorOffset, c.offset) << hidParseErrorText(c.error);
        EXPECT_TRUE(hidValueCaps(d, HidReportKind::Feature).empty());
    }
    // The limits themselves are allowed.
    EXPECT_TRUE(parseHidDescriptor(repeated({0xA4}, kHidMaxPushDepth, repeated({0xB4}, kHidMaxPushDepth))).ok());
    EXPECT_TRUE(parseHidDescriptor(repeated({0x81, 0x02}, kHidMaxMainItems)).ok());
}

}  // namespace
}  // namespace q30x
