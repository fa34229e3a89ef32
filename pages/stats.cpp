#include "pages/stats.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "platform/files.h"
#include "platform/utf16.h"

namespace q30x {

namespace {
constexpr std::array<uint32_t, kTrophyLevelCount> kLevelThresholds = {
    0, 100'000, 500'000, 1'000'000, 1'500'000, 2'000'000, 2'500'000,
    3'000'000, 4'000'000, 5'000'000, 6'000'000, 8'000'000, 10'000'000,
};
constexpr int kLevelBarStep = 21;

// The hook's event codes of the counted inputs.
constexpr uintptr_t kLeftDown = 0x201, kMiddleDown = 0x207, kRightDown = 0x204;
constexpr uintptr_t kWheelForward = 0x20A01, kWheelBackward = 0x20A00;

uint32_t travel(int32_t from, int32_t to) {
    return static_cast<uint32_t>(std::llabs(static_cast<long long>(to) - from));
}
}  // namespace

uint32_t clicksTotal(const StatsBlock& b) { return b.leftClicks + b.middleClicks + b.rightClicks; }
uint32_t scrollsTotal(const StatsBlock& b) { return b.wheelForward + b.wheelBackward; }

int trophyLevel(uint32_t total) {
    const auto above = std::upper_bound(kLevelThresholds.begin(), kLevelThresholds.end(), total);
    return static_cast<int>(above - kLevelThresholds.begin()) - 1;
}

int trophyLevel(const StatsBlock& b) { return std::max(trophyLevel(clicksTotal(b)), trophyLevel(scrollsTotal(b))); }

int levelBarWidth(int level) { return kLevelBarStep * std::clamp(level + 1, 0, kTrophyLevelCount); }

std::u16string distanceText(uint32_t distance) {
    char text[32];
    std::snprintf(text, sizeof text, "%0.2f", static_cast<double>(distance) * 0.0001);
    return fromUtf8(text);
}

bool Statistics::count(uintptr_t inputCode) {
    switch (inputCode) {
    case kLeftDown: ++block_.leftClicks; return true;
    case kMiddleDown: ++block_.middleClicks; return true;
    case kRightDown: ++block_.rightClicks; return true;
    case kWheelForward: ++block_.wheelForward; return true;
    case kWheelBackward: ++block_.wheelBackward; return true;
    default: return false;
    }
}

void Statistics::addSample(ScreenPoint sample) {
    block_.distance += travel(last_.x, sample.x) + travel(last_.y, sample.y);
    last_ = sample;
}

int Statistics::updateLevel() {
    level_ = std::max(level_, trophyLevel(block_));
    return level_;
}

void Statistics::reset() {
    block_ = StatsBlock{};
    level_ = 0;
}

StatsBlock loadStatsFile(const Folders& folders, UserMessages& messages) {
    const std::string path = joinPath(folders.working, filenames::kStats);
    StatsBlock block;
    const FileError error = readRecord(path, block);
    if (error == FileError::NotFound) messages.info(formatText(kMissingFileText, fromUtf8(path)));
    return error == FileError::None ? block : StatsBlock{};
}

bool saveStatsFile(const Folders& folders, UserMessages& messages, const StringCatalogue& strings,
                   const StatsBlock& block, int chineseUi) {
    const std::string path = joinPath(folders.working, filenames::kStats);
    const FileError error = writeRecord(path, block, FileAccess::Private);
    reportSaveFailure(messages, strings, error, path, chineseUi);
    return error == FileError::None;
}

}  // namespace q30x
