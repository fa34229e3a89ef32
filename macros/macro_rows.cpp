#include "macros/macro_rows.h"

#include <cstring>

#include "buttons/key_names.h"
#include "platform/utf16.h"

namespace q30x {

std::u16string delayRowText(uint32_t ms) { return fromUtf8(std::to_string(ms) + "  ms"); }

MacroRow delayRow(uint32_t ms) { return {delayRowText(ms), kRowDelay << 24 | (ms & 0xFFFFFF)}; }

MacroRow keyRow(uint32_t kind, uint32_t virtualKey, int languageNumber, const KeyboardLayout& layout) {
    return {keyName(virtualKey, KeyNameStyle::Macro, languageNumber, layout), kind << 24 | (virtualKey & 0xFFFFFF)};
}

uint32_t mergedDelay(uint32_t a, uint32_t b) {
    const uint64_t sum = uint64_t{a} + b;
    return sum > kMaxMergedDelay ? kMaxMergedDelay : static_cast<uint32_t>(sum);
}

std::optional<uint32_t> delayFromText(std::u16string_view text) {
    uint32_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - u'0');
        if (value > kMaxDelayValue) value = kMaxDelayValue + 1;  // stays above every cap however long the text
    }
    return value;
}

void mergeDelayRows(std::vector<MacroRow>& rows) {
    std::vector<MacroRow> merged;
    merged.reserve(rows.size());
    for (MacroRow& row : rows) {
        if (rowKind(row) == kRowDelay && !merged.empty() && rowKind(merged.back()) == kRowDelay) {
            merged.back() = delayRow(mergedDelay(rowValue(merged.back()), rowValue(row)));
        } else {
            merged.push_back(std::move(row));
        }
    }
    rows = std::move(merged);
}

uint32_t loopCountFromText(std::u16string_view text) {
    if (text.empty()) return 1;
    uint32_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return 1;
        value = value * 10 + (c - u'0');
        if (value > kMaxLoopCount) value = kMaxLoopCount + 1;  // stays above the cap however long the text
    }
    if (value == 0) return 1;
    return value > kMaxLoopCount ? kMaxLoopCount : value;
}

BuiltMacro buildMacroRecord(std::vector<MacroRow>& rows, std::u16string_view loopText, uint32_t id,
                            std::u16string_view name, MacroRecord& record) {
    BuiltMacro result;
    if (rows.empty()) return result;
    mergeDelayRows(rows);
    std::memset(static_cast<void*>(&record), 0, sizeof record);
    record.size = kMacroBaseSize + 4 * static_cast<uint32_t>(rows.size());
    record.magic = kMacroMagic;
    record.id = id;
    bool keySeen = false;
    for (const MacroRow& row : rows) {
        uint32_t kind = rowKind(row);
        if (kind == kRowKeyDown || kind == kRowKeyUp) keySeen = true;
        if (kind == kRowDelay && !keySeen) continue;
        uint32_t eventKindByte = kind == kRowKeyDown ? kEventKeyDown
                                 : kind == kRowKeyUp ? kEventKeyUp
                                 : kind == kRowDelay ? kEventDelay
                                                     : 0;
        if (eventKindByte == 0) continue;  // not a row the editor makes
        if (record.eventCount == kMacroEventCapacity) {
            ++result.droppedRows;
            continue;
        }
        record.events[record.eventCount++] = macroEvent(eventKindByte, rowValue(row));
    }
    bool singleKeyDown = record.eventCount == 1 && eventKind(record.events[0]) == kEventKeyDown;
    record.loopCount = singleKeyDown ? kSingleKeyDownLoops : loopCountFromText(loopText);
    setFixedText(record.name, name);
    result.built = true;
    return result;
}

std::vector<MacroRow> rowsOfRecord(const MacroRecord& record, int languageNumber, const KeyboardLayout& layout,
                                   bool* complete) {
    std::vector<MacroRow> rows;
    const uint32_t count = storedEventCount(record);
    bool all = true;
    for (uint32_t i = 0; i < count && all; ++i) {
        const uint32_t kind = eventKind(record.events[i]), value = eventValue(record.events[i]);
        if (kind == kEventKeyDown) rows.push_back(keyRow(kRowKeyDown, value, languageNumber, layout));
        else if (kind == kEventKeyUp) rows.push_back(keyRow(kRowKeyUp, value, languageNumber, layout));
        else if (kind == kEventDelay) rows.push_back(delayRow(value));
        else all = false;
    }
    if (complete) *complete = all && count == record.eventCount;
    return rows;
}

}  // namespace q30x
