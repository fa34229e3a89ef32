#include "device/frame_data.h"

namespace q30x {
namespace {

struct DpiEntry {
    int32_t dpi;
    uint8_t code;
};

constexpr DpiEntry kDpiCodes[] = {
    {250, 1},   {500, 2},   {750, 3},   {1000, 4},  {1250, 5},  {1500, 6},  {1750, 7},  {2000, 8},  {2250, 9},
    {2500, 10}, {2750, 11}, {3000, 12}, {3250, 13}, {3500, 14}, {4000, 40}, {5000, 42}, {6000, 44}, {7000, 46},
};

constexpr int kSentDpiLevels = 7;

uint8_t low(int32_t value) { return static_cast<uint8_t>(value); }

}  // namespace

uint8_t dpiCode(int32_t dpi) {
    for (const auto& entry : kDpiCodes)
        if (entry.dpi == dpi) return entry.code;
    return kUnknownDpiCode;
}

DpiTable buildDpiTable(const ProfileRecord& record) {
    DpiTable table{};
    for (int run = 0; run < 2; ++run) {
        for (int i = 0; i < kSentDpiLevels; ++i) table[8 * run + i] = dpiCode(record.dpiLevels[i]);
        table[8 * run + 7] = 0x02;
    }
    return table;
}

uint8_t dpiLevelFor(const ProfileRecord& record) {
    int recognised = 0;
    for (int i = 0; i < kSentDpiLevels; ++i)
        if (dpiCode(record.dpiLevels[i]) != kUnknownDpiCode) ++recognised;
    return static_cast<uint8_t>(recognised < 3 ? recognised : 3);
}

LightingEffect lightingEffectFor(const ProfileRecord& record) {
    switch (record.lightingMode) {
    case 1: return {1, low(record.brightness), 1};
    case 2: return {2, low(record.breathingFrequency), 1};
    case 3: return {3, 2, 3};
    case 4: return {4, 10, 2};
    case 5: return {5, low(record.symphonySpeed), low(record.symphonyCustom)};
    default: return {0, 0, 0};
    }
}

bool sendsCustomColours(const ProfileRecord& record) {
    return record.lightingMode == kLightingModeSymphony && record.symphonyCustom == 1;
}

CustomColours buildCustomColours(const ProfileRecord& record) {
    CustomColours colours{};
    for (int i = 0; i < 3; ++i) {
        const uint32_t bgr = record.ledColour[i];
        for (int byte = 0; byte < 3; ++byte) colours[3 * i + byte] = static_cast<uint8_t>(bgr >> (8 * byte));
    }
    return colours;
}

uint8_t proximityByte(int on, int32_t lightingMode) { return on == 1 && lightingMode != kLightingModeOff ? 0xA0 : 0xB0; }

uint8_t reportRateByte(int32_t interval) {
    return interval == 1 || interval == 2 || interval == 4 || interval == 8 ? static_cast<uint8_t>(interval) : 2;
}

}  // namespace q30x
