#pragma once
#include <cstdint>
#include <span>

namespace q30x {

// One pair of a key table: the HID keyboard usage the mouse plays and the
// Windows virtual key the host names it by.
struct KeyPair {
    uint8_t usage;
    uint8_t virtualKey;
};

// An ordered, read-only list of pairs; lookups scan from the front and the
// first match wins, which is what sends virtual key 0x0D as usage 0x28.
using KeyLayoutTable = std::span<const KeyPair>;

// The mouse-button pseudo-usages of this program, outside the keyboard page.
inline constexpr uint8_t kUsageLeftButton = 0xF0;
inline constexpr uint8_t kUsageRightButton = 0xF1;
inline constexpr uint8_t kUsageMiddleButton = 0xF2;

// The table of an interface language: French, German, Italian, Spanish and
// Russian have their own, every other number uses the US table.
KeyLayoutTable keyLayoutTable(int languageNumber);

// Its name, for printouts: "US", "French", "German", "Italian/Spanish", "Russian".
const char* keyLayoutName(int languageNumber);

// 0 when the active table has no pair for the value; values above 255
// never match.
uint8_t virtualKeyOfUsage(uint32_t usage, int languageNumber);
uint8_t usageOfVirtualKey(uint32_t virtualKey, int languageNumber);

}  // namespace q30x
