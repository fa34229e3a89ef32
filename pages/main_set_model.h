#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "settings/profile_record.h"

// The rules of the main settings page, free of windows: what a click on a
// DPI level does, how the wheel field's text becomes a value, and how the
// stored fields are shown.
namespace q30x::mainset {

using DpiChecks = std::array<bool, kOfferedDpiValues.size()>;

inline constexpr int kMaxDpiLevels = 7;
inline constexpr int kMinSpeed = 1, kMaxSpeed = 20;
inline constexpr int kMinHeight = 1, kMaxHeight = 30;
inline constexpr int kMinWheelLines = 1, kMaxWheelLines = 30;
inline constexpr int32_t kOneScreen = -1;
// The report intervals the four rate radios store, left to right, and the
// rates in Hz they are labelled with.
inline constexpr std::array<int32_t, 4> kRateIntervals = {8, 4, 2, 1};
inline constexpr std::array<int32_t, 4> kRateHz = {125, 250, 500, 1000};

// Which offered values the first seven levels name; a value outside the
// table shows nothing.
DpiChecks dpiChecks(const ProfileRecord& profile);

// A click on level `index`: at most seven and at least one stay chosen; a
// click that would break that changes nothing. True when it changed.
bool clickDpi(DpiChecks& checks, std::size_t index);

// Levels named by value, in any order, as clicks on their buttons would
// choose them from none: each must be offered, none twice, one to seven.
enum class DpiRefusal { None, NoLevel, NotOffered, Repeated, TooMany };
struct DpiChoice {
    DpiChecks checks{};
    DpiRefusal refusal = DpiRefusal::None;
    int32_t value = 0;  // the value refused, if one is
};
DpiChoice chooseDpiLevels(std::span<const int32_t> values);

// All fourteen slots cleared, then the chosen values in table order.
void writeDpiLevels(ProfileRecord& profile, const DpiChecks& checks);

// The rate radio of an interval, or -1 for an interval no radio stores.
int rateIndex(int32_t interval);

// The value the wheel field shows for a stored value that is not one
// screen: kept within 1..30, so a damaged value never reaches the spin rule.
int wheelFieldValue(int32_t stored);

// The wheel field's text made a value: empty is 1, leading zeros go, the
// leading digits count, capped at 30 (and never below 1).
int wheelValueOfText(std::u16string_view text);

// A section's title: the hint's lead up to its colon ("DPI: the levels
// ..." gives "DPI"), or the whole hint when it has none.
std::u16string_view sectionTitle(std::u16string_view hint);

}  // namespace q30x::mainset
