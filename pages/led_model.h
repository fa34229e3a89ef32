#pragma once
#include <array>
#include <cstdint>

#include "settings/profile_record.h"

// The lighting page's rules that need no window: the preset palette, which
// colour slot and which parameter controls each mode brings, the colour
// bytes and how a colour is stored. The palette and the views are header
// only, so skingen paints the same palette the page stores.
namespace q30x::led {

// COLORREF values (0x00BBGGRR), left to right and top to bottom in the grid.
inline constexpr std::array<uint32_t, 26> kPresets = {
    0x7E05FA, 0x0012FA, 0x0179F8, 0x00EDF9, 0x09F0C1, 0x00F927, 0x2AA418,
    0x93E713, 0xDFE90D, 0xFAC101, 0xFA8E05, 0xF96F00, 0xF80024, 0xE3185A,
    0xE21B7F, 0xE218C1, 0x54FAE6, 0x30B900, 0x7D63FA, 0x233BC4, 0x1603DE,
    0xAD7A17, 0x12B900, 0xC05A4A, 0xEE4E6F, 0xB95401,
};

inline constexpr int kModeSteady = 1, kModeBreathing = 2, kModeApmBreathing = 3, kModeSpectrum = 4, kModeCycle = 5,
                     kModeOff = 6;
inline constexpr int kModeCount = 6;

// The ranges of the parameter sliders.
inline constexpr int kMinBrightness = 1, kMaxBrightness = 10;
inline constexpr int kMinBreathing = 1, kMaxBreathing = 5;
inline constexpr int kMinCycleSpeed = 1, kMaxCycleSpeed = 3;
// Slots 0..2 are the cycle colours, 3 the single colour; 4 is none.
inline constexpr int kSingleSlot = 3, kNoSlot = 4;

constexpr bool isMode(int32_t mode) { return mode >= 1 && mode <= kModeCount; }
constexpr bool isSlot(int slot) { return slot >= 0 && slot < kNoSlot; }
constexpr bool isPreset(int32_t i) { return i >= 0 && i < static_cast<int32_t>(kPresets.size()); }

// The slot a click on mode `mode` makes current.
constexpr int slotForModeChoice(int32_t mode, int32_t symphonyCustom) {
    if (mode == kModeSteady || mode == kModeBreathing) return kSingleSlot;
    if (mode == kModeCycle && symphonyCustom == 1) return 0;
    return kNoSlot;
}

// What a mode shows: the parameter controls it enables, the current slot and
// whether the presets, the wheel and the colour sliders are live.
struct ModeView {
    bool breathing = false, brightness = false, cycleColours = false, cycleSpeed = false;
    int slot = kNoSlot;
    bool picker = false;
};

// For a mode outside 1..6 nothing is live: no parameter control, no slot.
constexpr ModeView modeView(int32_t mode, int32_t symphonyCustom, int currentSlot) {
    ModeView v;
    if (mode == kModeSteady || mode == kModeBreathing) {
        v.brightness = mode == kModeSteady;
        v.breathing = mode == kModeBreathing;
        v.slot = kSingleSlot;
        v.picker = true;
    } else if (mode == kModeCycle) {
        const bool own = symphonyCustom == 1;
        v.cycleColours = true;
        v.cycleSpeed = !own;
        v.slot = own ? (currentSlot >= 0 && currentSlot <= 2 ? currentSlot : 0) : kNoSlot;
        v.picker = own;
    }
    return v;
}

// Byte 0 red, 1 green, 2 blue; the top byte is left as it was.
constexpr int colourByte(uint32_t colour, int byte) { return static_cast<int>((colour >> (8 * byte)) & 0xFF); }
constexpr uint32_t withColourByte(uint32_t colour, int byte, int value) {
    const uint32_t shift = 8u * static_cast<uint32_t>(byte);
    return (colour & ~(0xFFu << shift)) | ((static_cast<uint32_t>(value) & 0xFFu) << shift);
}

// The cycle speed is stored as twice the slider position.
constexpr int32_t symphonySpeedOf(int position) { return position * 2; }
constexpr int cycleSpeedPosition(int32_t symphonySpeed) { return symphonySpeed / 2; }

// A preset swatch chosen for colour slot `slot` (0..3): the preset's colour,
// remembered as that preset. Anything outside the slots and presets
// changes nothing; false then.
bool choosePreset(ProfileRecord& record, int slot, int preset);

// One byte of a slot's colour set from a colour slider; the colour is then
// the user's own. False, changing nothing, for a slot or channel outside
// 0..3 and 0..2.
bool setColourChannel(ProfileRecord& record, int slot, int channel, int value);

// A whole colour of the user's own (the wheel's pixel, or red, green and
// blue given at once); the top byte is always zero.
bool setOwnColour(ProfileRecord& record, int slot, uint32_t colour);

}  // namespace q30x::led
