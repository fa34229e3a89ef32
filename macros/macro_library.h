#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_state.h"

namespace q30x {

inline constexpr uint32_t kMacroMagic = 0xE8E80010;
inline constexpr uint32_t kMacroMagicMark = 0xE8E8;  // the upper half every written magic carries
inline constexpr int kMacroSlots = 500;
inline constexpr int kMacroEventCapacity = 1000;
inline constexpr std::size_t kMacroNameUnits = 40;
inline constexpr std::size_t kMacroNameLimit = 20;  // what the rename box takes, in UTF-16 units
inline constexpr uint32_t kMacroBaseSize = 4100;  // the size word before the rows are counted
inline constexpr uint32_t kSingleKeyDownLoops = 0xFFFE;
inline constexpr uint32_t kMaxLoopCount = 0xFFFD;

// One 32-bit event word: the kind in the top byte, the value (virtual key or
// milliseconds) in the low 24 bits.
using MacroEvent = uint32_t;
inline constexpr uint32_t kEventKeyDown = 0xC0;
inline constexpr uint32_t kEventKeyUp = 0xE0;
inline constexpr uint32_t kEventDelay = 0xA0;

constexpr uint32_t eventKind(MacroEvent event) { return event >> 24; }
constexpr uint32_t eventValue(MacroEvent event) { return event & 0xFFFFFF; }
constexpr MacroEvent macroEvent(uint32_t kind, uint32_t value) { return kind << 24 | (value & 0xFFFFFF); }

// A macro id's top byte is its game group.
constexpr int gameGroupOf(uint32_t id) { return static_cast<int>(id >> 24); }

// One slot of the library, identical in memory and in the macro file.
struct MacroRecord {
    uint32_t size;  // 4,100 + 4 per editor row; 0 in a free slot
    uint32_t magic;
    uint32_t id;
    uint32_t reserved;
    uint32_t loopCount;
    uint32_t eventCount;
    MacroEvent events[kMacroEventCapacity];
    char16_t name[kMacroNameUnits];
};

static_assert(sizeof(MacroRecord) == 4104);
static_assert(offsetof(MacroRecord, size) == 0);
static_assert(offsetof(MacroRecord, magic) == 4);
static_assert(offsetof(MacroRecord, id) == 8);
static_assert(offsetof(MacroRecord, reserved) == 12);
static_assert(offsetof(MacroRecord, loopCount) == 16);
static_assert(offsetof(MacroRecord, eventCount) == 20);
static_assert(offsetof(MacroRecord, events) == 24);
static_assert(offsetof(MacroRecord, name) == 4024);

// The whole library, and the whole macro file.
struct MacroLibrary {
    MacroRecord slots[kMacroSlots];
};

static_assert(sizeof(MacroLibrary) == 2052000);

inline bool isFree(const MacroRecord& record) { return record.magic == 0; }

// Shown in lists: either test alone suffices.
inline bool isListed(const MacroRecord& record) {
    return record.size >= kMacroBaseSize + 4 || record.magic >> 16 == kMacroMagicMark;
}

// The event count as far as the array holds it: a file may claim more.
inline uint32_t storedEventCount(const MacroRecord& record) {
    return record.eventCount < kMacroEventCapacity ? record.eventCount : kMacroEventCapacity;
}

struct MacroListEntry {
    uint32_t id;
    std::u16string name;
};

// Listed macros of a game group (1..21) in slot order; other numbers list nothing.
std::vector<MacroListEntry> listByGroup(const MacroLibrary& library, int group);

// The first slot holding a macro with that id; free slots hold none.
const MacroRecord* findById(const MacroLibrary& library, uint32_t id);
MacroRecord* findById(MacroLibrary& library, uint32_t id);

// The id of a macro made now in `group`: the group over the low 24 bits of
// the tick, moved on past ids the library holds, since the tick comes round
// every few hours and a new macro must never take over a stored one.
uint32_t newMacroId(const MacroLibrary& library, int group, uint32_t tick);

// A macro is in use while the reference list of any of the five index
// entries, or a macro button of the current profile, names it.
bool isMacroInUse(const SettingsState& state, uint32_t id);

}  // namespace q30x
