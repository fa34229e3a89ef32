#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "i18n/catalogue.h"
#include "platform/paths.h"
#include "platform/pointer_position.h"
#include "platform/user_messages.h"

namespace q30x {

// The six usage counters, also the whole of "Sts.cfg" (little-endian, no
// header). They wrap at 2^32.
struct StatsBlock {
    uint32_t leftClicks = 0;
    uint32_t middleClicks = 0;
    uint32_t rightClicks = 0;
    uint32_t wheelForward = 0;
    uint32_t wheelBackward = 0;
    uint32_t distance = 0;  // pointer travel in pixels, |dx| + |dy| per sample
};
static_assert(sizeof(StatsBlock) == 24);
static_assert(offsetof(StatsBlock, middleClicks) == 4 && offsetof(StatsBlock, rightClicks) == 8 &&
              offsetof(StatsBlock, wheelForward) == 12 && offsetof(StatsBlock, wheelBackward) == 16 &&
              offsetof(StatsBlock, distance) == 20);

inline constexpr int kTrophyLevelCount = 13;

uint32_t clicksTotal(const StatsBlock& b);
uint32_t scrollsTotal(const StatsBlock& b);
// The level one total earns, 0..12.
int trophyLevel(uint32_t total);
// The level of the block: the better of its two totals, which never add up.
int trophyLevel(const StatsBlock& b);
// Length of the level bar in pixels: 21 per level reached, 273 at most.
int levelBarWidth(int level);
// The distance as shown: tens of thousands of pixels with two decimals.
std::u16string distanceText(uint32_t distance);

// The counters with the trophy level reached since start or the last reset.
class Statistics {
public:
    const StatsBlock& block() const { return block_; }
    void setBlock(const StatsBlock& b) { block_ = b; }
    // Counts a hook event code (presses of left, middle, right, one wheel
    // notch either way); false for anything else, which changes nothing.
    bool count(uintptr_t inputCode);
    // Adds the travel from the previous sample to this one.
    void addSample(ScreenPoint sample);
    void setLastSample(ScreenPoint sample) { last_ = sample; }
    // The stored level grows with the counters and never falls until reset.
    int updateLevel();
    int level() const { return level_; }
    void reset();

private:
    StatsBlock block_;
    int level_ = 0;
    ScreenPoint last_;
};

// "Sts.cfg" of the working folder. A missing file is told with its path and
// the counters start at zero; a shorter file fills what it holds.
StatsBlock loadStatsFile(const Folders& folders, UserMessages& messages);
// Replaces the file whole; a failure is told as reportSaveFailure does.
bool saveStatsFile(const Folders& folders, UserMessages& messages, const StringCatalogue& strings,
                   const StatsBlock& block, int chineseUi);

}  // namespace q30x
