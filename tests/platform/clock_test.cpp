#include "platform/clock.h"

#include <gtest/gtest.h>

namespace q30x {
namespace {

TEST(FakeClock, RecordsSleepsAndMovesTime) {
    FakeClock clock(1000);
    clock.sleepMs(50);
    clock.sleepMs(100);
    clock.advance(7);
    EXPECT_EQ(clock.tickMs(), 1157u);
    EXPECT_EQ(clock.sleeps(), (std::vector<uint32_t>{50, 100}));
    clock.clearSleeps();
    EXPECT_TRUE(clock.sleeps().empty());
}

TEST(FakeClock, TickWrapsLikeTheSystemCounter) {
    FakeClock clock(0xFFFFFFF0u);
    clock.sleepMs(0x20);
    EXPECT_EQ(clock.tickMs(), 0x10u);
}

TEST(RealClock, SleepsAtLeastAsLongAsAsked) {
    RealClock clock;
    uint32_t before = clock.tickMs();
    clock.sleepMs(20);
    EXPECT_GE(static_cast<uint32_t>(clock.tickMs() - before), 20u);
}

}  // namespace
}  // namespace q30x
