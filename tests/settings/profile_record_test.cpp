#include "settings/profile_record.h"

#include <gtest/gtest.h>
#include <memory>

#include "tests/support/bytes.h"

namespace q30x {
namespace {

using test::bytesOf;
using test::textAt;
using test::u32At;

std::vector<uint8_t> defaultBytes(int chineseUi) {
    auto record = std::make_unique<ProfileRecord>();
    std::memset(static_cast<void*>(record.get()), 0x5A, sizeof *record);  // defaults must clear everything
    fillProfileDefaults(*record, chineseUi);
    return bytesOf(*record);
}

TEST(ProfileRecordDefaults, HaveTheFactoryValuesAtTheirOffsets) {
    std::vector<uint8_t> bytes = defaultBytes(0);
    ASSERT_EQ(bytes.size(), 22252u);
    struct Field {
        std::size_t offset;
        uint32_t value;
    };
    const Field fields[] = {
        {0, 0x80800265},
        {22040, 750}, {22044, 1250}, {22048, 1500}, {22052, 2000}, {22056, 2500}, {22060, 3500}, {22064, 4000},
        {22068, 0}, {22092, 0},
        {22160, 15}, {22164, 1}, {22168, 5}, {22172, 0},
        {22176, 0xFF}, {22180, 0xFF}, {22184, 0xFF}, {22188, 0xFF},
        {22192, 1}, {22196, 1}, {22200, 1}, {22204, 1},
        {22208, 0}, {22220, 0},
        {22224, 1}, {22228, 0}, {22232, 10}, {22236, 5}, {22240, 3}, {22244, 4}, {22248, 3},
    };
    for (const auto& field : fields) EXPECT_EQ(u32At(bytes, field.offset), field.value) << "offset " << field.offset;
    for (std::size_t i = 22096; i < 22160; ++i) EXPECT_EQ(bytes[i], 0) << "reserved byte " << i;
}

TEST(ProfileRecordDefaults, ButtonsHoldTheDefaultTypesAndNames) {
    struct Expected {
        uint32_t type;
        std::u16string english;
        std::u16string chinese;
    };
    const Expected expected[7] = {
        {1, u"Click", u"单击"},       {4, u"Middle", u"中键"},         {2, u"Menu", u"菜单"},
        {8, u"Forward", u"前进"},     {16, u"Back", u"后退"},          {11, u"Scroll up", u"滚轮前滚"},
        {22, u"Scroll down", u"滚轮后滚"},
    };
    std::vector<uint8_t> english = defaultBytes(0), chinese = defaultBytes(1);
    for (int i = 0; i < 7; ++i) {
        std::size_t base = 4 + 3148 * static_cast<std::size_t>(i);
        EXPECT_EQ(u32At(english, base), expected[i].type) << i;
        EXPECT_EQ(textAt(english, base + 548), expected[i].english) << i;
        EXPECT_EQ(textAt(chinese, base + 548), expected[i].chinese) << i;
        for (std::size_t offset : {4u, 8u, 16u, 20u}) EXPECT_EQ(u32At(english, base + offset), 0u) << i;
        EXPECT_EQ(textAt(english, base + 24), u"") << i;
        // Everything after the label's text is zero.
        std::size_t labelEnd = base + 548 + 2 * expected[i].english.size();
        for (std::size_t b = labelEnd; b < base + 3148; ++b) ASSERT_EQ(english[b], 0) << i << " byte " << b;
    }
}

TEST(PhysicalButtons, MatchTheMouseAndTheHooks) {
    const uint32_t codes[7] = {0x201, 0x207, 0x204, 0x2020B, 0x1020B, 0x20A01, 0x20A00};
    const int positions[7] = {0, 2, 1, 5, 4, 14, 15};
    const int32_t types[7] = {1, 4, 2, 8, 16, 11, 22};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(kPhysicalButtons[i].index, i);
        EXPECT_EQ(kPhysicalButtons[i].inputCode, codes[i]);
        EXPECT_EQ(kPhysicalButtons[i].keyTablePosition, positions[i]);
        EXPECT_EQ(kPhysicalButtons[i].defaultType, types[i]);
        EXPECT_EQ(buttonIndexOfInputCode(codes[i]), i);
    }
    EXPECT_EQ(buttonIndexOfInputCode(0x202), -1);
}

TEST(ProfileRecordValidity, IsTheMagicAlone) {
    auto record = std::make_unique<ProfileRecord>();
    std::memset(static_cast<void*>(record.get()), 0, sizeof *record);
    EXPECT_FALSE(isValidProfile(*record));
    record->magic = 0x80800265;
    EXPECT_TRUE(isValidProfile(*record));
    record->magic = 0x65028080;  // the magic in the wrong byte order
    EXPECT_FALSE(isValidProfile(*record));
}

}  // namespace
}  // namespace q30x
