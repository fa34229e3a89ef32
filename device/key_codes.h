#pragma once
#include <array>
#include <cstdint>

#include "settings/profile_record.h"

namespace q30x {

// The 32-bit key-table entry that tells the mouse what one input does; byte 0
// is the kind of action (0x00 keyboard, 0x01 mouse button, 0x03 consumer,
// 0x04 wheel, 0x07 device function, 0x09 macro, 0x0A fire).
using DeviceKeyCode = uint32_t;

inline constexpr std::size_t kKeyTableSize = 64;
inline constexpr int kKeyTableEntries = 16;
using KeyTable = std::array<uint8_t, kKeyTableSize>;

// The entry the firmware expects at position 3 whatever the profile says.
inline constexpr int kFixedKeyTablePosition = 3;
inline constexpr DeviceKeyCode kFixedKeyTableEntry = 0x00030007;

inline constexpr int32_t kFunctionCombo = 5;
inline constexpr int32_t kFunctionMacro = 6;
inline constexpr int32_t kFunctionAdvanced = 19;

// The code of a function type with a fixed code, or 0 for types without one
// (combination, macro and advanced action depend on the button; see below).
DeviceKeyCode fixedDeviceKeyCode(int32_t functionType);

// Whether a function type puts a code into the key table (every listed type;
// a macro button only when its macro was uploaded).
bool hasDeviceKeyCode(int32_t functionType);

// The macro a button plays on the mouse: its number there (1 to 7, 0 when
// nothing was uploaded for it) and the word count the upload returned.
struct ButtonMacro {
    int macroNumber = 0;
    int wordCount = 0;
};
using ButtonMacros = std::array<ButtonMacro, kButtonCount>;

// 0x09 | m << 16 | (w mod 256) << 24, or 0 without an uploaded macro.
DeviceKeyCode macroKeyCode(const ButtonMacro& macro);

// The code of button `buttonIndex`: its type's fixed code, its combination,
// its macro, or for an advanced action the button's own default, so the
// mouse keeps the function while the computer performs the action.
DeviceKeyCode deviceKeyCode(const ButtonAssignment& button, int buttonIndex, const ButtonMacro& macro);

// Macro numbers in button-index order, starting at 1, taken only by the macro
// buttons whose macro will be uploaded (`uploadable[i]`).
std::array<int, kButtonCount> assignMacroNumbers(const ProfileRecord& record,
                                                 const std::array<bool, kButtonCount>& uploadable);

// The 64-byte key table: each button's code at its position, the fixed entry
// at position 3, zero elsewhere, each entry little-endian.
KeyTable buildKeyTable(const ProfileRecord& record, const ButtonMacros& macros);

}  // namespace q30x
