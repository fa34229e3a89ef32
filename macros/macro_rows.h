#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "macros/macro_library.h"
#include "platform/keyboard_layout.h"

namespace q30x {

// The editor's row kinds, in the top byte of a row's datum.
inline constexpr uint32_t kRowKeyUp = 2;
inline constexpr uint32_t kRowKeyDown = 3;
inline constexpr uint32_t kRowDelay = 4;
inline constexpr uint32_t kMaxMergedDelay = 327670;
inline constexpr uint32_t kMaxDelayValue = 0xFFFFFF;  // what a row's 24-bit value holds

// One row of the macro editor's event list.
struct MacroRow {
    std::u16string text;
    uint32_t datum;  // kind << 24 | value (virtual key or milliseconds)
};

constexpr uint32_t rowKind(const MacroRow& row) { return row.datum >> 24; }
constexpr uint32_t rowValue(const MacroRow& row) { return row.datum & 0xFFFFFF; }

// "%d  ms", the text of a delay row.
std::u16string delayRowText(uint32_t ms);
MacroRow delayRow(uint32_t ms);
MacroRow keyRow(uint32_t kind, uint32_t virtualKey, int languageNumber, const KeyboardLayout& layout);

// Joins every run of adjacent delay rows into one, capped at 327,670 ms.
void mergeDelayRows(std::vector<MacroRow>& rows);
// Two delays as one row holds them after a merge: capped at 327,670 ms.
uint32_t mergedDelay(uint32_t a, uint32_t b);

// The delay field's text as milliseconds: empty is 0, anything but digits is
// none; a value past 16,777,215 reads as 16,777,216, above every cap.
std::optional<uint32_t> delayFromText(std::u16string_view text);

// The loop field's text as a loop count: empty, not all digits or 0 give 1;
// more than 65,533 gives 65,533.
uint32_t loopCountFromText(std::u16string_view text);

struct BuiltMacro {
    bool built = false;   // false: there were no rows
    int droppedRows = 0;  // rows past the record's 1,000 events, not stored
};

// Builds the record of the editor's rows (merging their delays in place):
// leading delays are dropped, every other row becomes one event word.
BuiltMacro buildMacroRecord(std::vector<MacroRow>& rows, std::u16string_view loopText, uint32_t id,
                            std::u16string_view name, MacroRecord& record);

// The rows the editor shows for a stored macro; stops at the first event of
// an unknown kind. `complete` tells whether every counted event was shown.
std::vector<MacroRow> rowsOfRecord(const MacroRecord& record, int languageNumber, const KeyboardLayout& layout,
                                   bool* complete = nullptr);

}  // namespace q30x
