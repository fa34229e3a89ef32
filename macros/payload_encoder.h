#pragma once
#include "macros/macro_library.h"
#include "macros/macro_payload.h"

namespace q30x {

inline constexpr int kPayloadEventSlots = 255;

// The payload the mouse plays for a macro: key events as HID usages of the
// language's key table, short delays folded into the key slot before them,
// longer ones in 20, 50 or 100 ms units. Encoding stops at the first event
// that no longer fits; wordCount counts the loop-count word too (1..256).
EncodedMacro encodeMacroPayload(const MacroRecord& record, int languageNumber);

}  // namespace q30x
