#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/stats.h"
#include "platform/utf16.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

constexpr uintptr_t kLeft = 0x201, kMiddle = 0x207, kRight = 0x204, kWheelForward = 0x20A01, kWheelBackward = 0x20A00;
constexpr uintptr_t kForwardButton = 0x2020B, kBackButton = 0x1020B, kKeyA = 0x41;

TEST(TrophyLevel, ComesFromTheBetterTotalNeverTheirSum) {
    struct Case {
        const char* name;
        StatsBlock block;
        int level;
        int barWidth;
    };
    const Case cases[] = {
        {"nothing yet", {}, 0, 21},
        {"99,999 left clicks", {99'999, 0, 0, 0, 0, 0}, 0, 21},
        {"the 100,000th click", {100'000, 0, 0, 0, 0, 0}, 1, 42},
        {"clicks of three buttons add up", {40'000, 30'000, 30'000, 0, 0, 0}, 1, 42},
        {"60,000 clicks and 60,000 notches", {60'000, 0, 0, 60'000, 0, 0}, 0, 21},
        {"100,000 notches alone", {0, 0, 0, 50'000, 50'000, 0}, 1, 42},
        {"2,999,999 clicks", {2'999'999, 0, 0, 0, 0, 0}, 6, 147},
        {"8,000,000 notches", {0, 0, 0, 8'000'000, 0, 0}, 11, 252},
        {"10,000,000 clicks", {10'000'000, 0, 0, 0, 0, 0}, 12, 273},
        {"far past the last level", {0xFFFF'FFFF, 0, 0, 0, 0, 0}, 12, 273},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(trophyLevel(c.block), c.level) << c.name;
        EXPECT_EQ(levelBarWidth(trophyLevel(c.block)), c.barWidth) << c.name;
    }
}

TEST(Statistics, CountsPressesAndNotchesOnly) {
    struct Case {
        uintptr_t code;
        bool counted;
        StatsBlock after;
    };
    const Case cases[] = {
        {kLeft, true, {1, 0, 0, 0, 0, 0}},          {kMiddle, true, {0, 1, 0, 0, 0, 0}},
        {kRight, true, {0, 0, 1, 0, 0, 0}},         {kWheelForward, true, {0, 0, 0, 1, 0, 0}},
        {kWheelBackward, true, {0, 0, 0, 0, 1, 0}}, {kForwardButton, false, {}},
        {kBackButton, false, {}},                   {kKeyA, false, {}},
        {0x202, false, {}},  // a release
    };
    for (const Case& c : cases) {
        Statistics stats;
        EXPECT_EQ(stats.count(c.code), c.counted) << std::hex << c.code;
        const StatsBlock& b = stats.block();
        EXPECT_EQ((std::vector<uint32_t>{b.leftClicks, b.middleClicks, b.rightClicks, b.wheelForward, b.wheelBackward,
                                         b.distance}),
                  (std::vector<uint32_t>{c.after.leftClicks, c.after.middleClicks, c.after.rightClicks,
                                         c.after.wheelForward, c.after.wheelBackward, c.after.distance}))
            << std::hex << c.code;
    }
}

TEST(Statistics, LevelStaysUntilResetAndCountersWrap) {
    Statistics stats;
    stats.setBlock({99'999, 0, 0, 0, 0, 0});
    EXPECT_EQ(stats.updateLevel(), 0);
    stats.count(kLeft);
    EXPECT_EQ(stats.updateLevel(), 1);
    // A smaller block (read again) does not take the level back.
    stats.setBlock({5, 0, 0, 0, 0, 0});
    EXPECT_EQ(stats.updateLevel(), 1);
    stats.reset();
    EXPECT_EQ(stats.level(), 0);
    EXPECT_EQ(stats.block().leftClicks, 0u);

    stats.setBlock({0xFFFF'FFFF, 0, 0, 0, 0, 0});
    stats.count(kLeft);
    EXPECT_EQ(stats.block().leftClicks, 0u);
}

TEST(Statistics, TravelIsTheSumOfBothAxes) {
    Statistics stats;
    stats.setLastSample({100, 100});
    stats.addSample({130, 60});   // 30 + 40
    stats.addSample({130, 60});   // still
    stats.addSample({-20, 560});  // 150 + 500, across a screen left of the first
    EXPECT_EQ(stats.block().distance, 720u);
}

TEST(DistanceText, ShowsTensOfThousandsOfPixels) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "0.00"}, {123'456, "12.35"}, {49, "0.00"}, {50, "0.01"}, {0xFFFF'FFFF, "429496.73"},
    };
    for (const auto& [distance, text] : cases) EXPECT_EQ(toUtf8(distanceText(distance)), text) << distance;
}

class StatsFileTest : public ::testing::Test {
protected:
    std::string path() const { return folder.file("Sts.cfg"); }
    test::TempFolder folder;
    Folders folders{"", folder.path()};
    test::RecordedMessages messages;
    StringCatalogue strings;
};

TEST_F(StatsFileTest, ReadsWhatTheFileHolds) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        StatsBlock block;
    };
    std::vector<uint8_t> whole = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, 0x40, 0xE2, 0x01, 0};
    std::vector<uint8_t> longer = whole;
    longer.insert(longer.end(), {9, 9, 9, 9});
    const Case cases[] = {
        {"24 bytes", whole, {1, 2, 3, 4, 5, 123'456}},
        {"8 bytes: left and middle", {0x10, 0x27, 0, 0, 7, 0, 0, 0}, {10'000, 7, 0, 0, 0, 0}},
        {"5 bytes", {1, 0, 0, 0, 2}, {1, 2, 0, 0, 0, 0}},
        {"empty", {}, {}},
        {"longer: the first 24 bytes", longer, {1, 2, 3, 4, 5, 123'456}},
    };
    for (const Case& c : cases) {
        test::writeAll(path(), c.bytes);
        const StatsBlock b = loadStatsFile(folders, messages);
        EXPECT_EQ(b.leftClicks, c.block.leftClicks) << c.name;
        EXPECT_EQ(b.middleClicks, c.block.middleClicks) << c.name;
        EXPECT_EQ(b.rightClicks, c.block.rightClicks) << c.name;
        EXPECT_EQ(b.wheelForward, c.block.wheelForward) << c.name;
        EXPECT_EQ(b.wheelBackward, c.block.wheelBackward) << c.name;
        EXPECT_EQ(b.distance, c.block.distance) << c.name;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StatsFileTest, AMissingFileIsToldWithItsPathAndCountsStartAtZero) {
    const StatsBlock b = loadStatsFile(folders, messages);
    EXPECT_EQ(b.leftClicks, 0u);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Failed to open file, check whether there is a " + path() + " path?");
    EXPECT_TRUE(messages.shown[0].skinned);
}

TEST_F(StatsFileTest, SavesTwentyFourLittleEndianBytes) {
    ASSERT_TRUE(saveStatsFile(folders, messages, strings, {0x01020304, 2, 3, 4, 5, 0xA0B0C0D0}, 0));
    EXPECT_EQ(test::readAll(path()), (std::vector<uint8_t>{4, 3, 2, 1, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0,
                                                           0xD0, 0xC0, 0xB0, 0xA0}));
    ASSERT_TRUE(saveStatsFile(folders, messages, strings, {}, 0));
    EXPECT_EQ(test::readAll(path()), std::vector<uint8_t>(24, 0));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StatsFileTest, AFailedSaveIsToldInTheStandardBox) {
    Folders gone{"", folder.file("no/such/folder")};
    EXPECT_FALSE(saveStatsFile(gone, messages, strings, {}, 0));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(folder.file("no/such/folder/Sts.cfg")), std::string::npos);
    EXPECT_EQ(messages.shown[0].caption, "Info");
}

}  // namespace
}  // namespace q30x
