#pragma once
#include <array>
#include <cstdint>

#include "settings/profile_record.h"

namespace q30x {

// The data the commands carry, built from a profile: pure functions, so each
// is one call and one comparison in a test.

inline constexpr uint8_t kUnknownDpiCode = 0x80;

// The sensor's code of a DPI value; kUnknownDpiCode for any value it lacks.
uint8_t dpiCode(int32_t dpi);

inline constexpr std::size_t kDpiTableSize = 16;
using DpiTable = std::array<uint8_t, kDpiTableSize>;

// The seven level codes twice, each run closed by 0x02.
DpiTable buildDpiTable(const ProfileRecord& record);

// The level sent after the table: the smaller of 3 and the number of
// recognised levels among the first seven.
uint8_t dpiLevelFor(const ProfileRecord& record);

// The three bytes of the lighting-effect command for the profile's mode.
struct LightingEffect {
    uint8_t mode = 0;
    uint8_t first = 0;
    uint8_t second = 0;
};
LightingEffect lightingEffectFor(const ProfileRecord& record);

inline constexpr int32_t kLightingModeSymphony = 5;
inline constexpr int32_t kLightingModeOff = 6;

// Custom colours go out only for the symphony effect with its own colours.
bool sendsCustomColours(const ProfileRecord& record);

inline constexpr std::size_t kCustomColoursSize = 32;
using CustomColours = std::array<uint8_t, kCustomColoursSize>;

// Red, green, blue of ledColour[0], [1], [2], then zeros.
CustomColours buildCustomColours(const ProfileRecord& record);

// 0xA0 to turn proximity sensing on, 0xB0 to turn it off; it stays off
// while the lighting is off.
uint8_t proximityByte(int on, int32_t lightingMode);

// The report interval in milliseconds the mouse accepts (1, 2, 4, 8); any
// other value becomes 2.
uint8_t reportRateByte(int32_t interval);

}  // namespace q30x
