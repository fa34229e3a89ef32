#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/keyboard_layout.h"

namespace q30x {

// Combination: key-combination labels and the popup's key field.
// Macro: the macro editor's rows.
enum class KeyNameStyle { Combination, Macro };

// The name of a virtual key. Keys without a fixed name are named by the
// character the user's layout prints on them without Shift (a lower-case
// ASCII letter upper-cased), or the empty text when it prints none; the
// key is found by the interface language's key table.
std::u16string keyName(uint32_t virtualKey, KeyNameStyle style, int languageNumber, const KeyboardLayout& layout);

// The other way round: the first virtual key that keyName calls `name` in
// `style`, ASCII letters matching in either case; 0 when none is.
uint32_t virtualKeyOfName(std::u16string_view name, KeyNameStyle style, int languageNumber, const KeyboardLayout& layout);

}  // namespace q30x
