#include "macros/macro_library.h"

#include "macros/game_presets.h"
#include "platform/utf16.h"

namespace q30x {

std::vector<MacroListEntry> listByGroup(const MacroLibrary& library, int group) {
    std::vector<MacroListEntry> entries;
    if (group < 1 || group > kGamePresetCount) return entries;
    for (const MacroRecord& record : library.slots)
        if (isListed(record) && gameGroupOf(record.id) == group)
            entries.push_back({record.id, std::u16string(fixedText(record.name))});
    return entries;
}

const MacroRecord* findById(const MacroLibrary& library, uint32_t id) {
    for (const MacroRecord& record : library.slots)
        if (!isFree(record) && record.id == id) return &record;
    return nullptr;
}

MacroRecord* findById(MacroLibrary& library, uint32_t id) {
    return const_cast<MacroRecord*>(findById(static_cast<const MacroLibrary&>(library), id));
}

uint32_t newMacroId(const MacroLibrary& library, int group, uint32_t tick) {
    const uint32_t groupBits = static_cast<uint32_t>(group) << 24;
    uint32_t low = tick & 0xFFFFFF;
    // At most one step per slot: 500 slots cannot fill 2^24 ids.
    while (findById(library, groupBits | low)) low = (low + 1) & 0xFFFFFF;
    return groupBits | low;
}

bool isMacroInUse(const SettingsState& state, uint32_t id) {
    for (const ProfileIndexEntry& entry : state.index.entries)
        for (int32_t ref : entry.macroRefs)
            if (static_cast<uint32_t>(ref) == id) return true;
    for (const ButtonAssignment& button : state.current.buttons)
        if (button.functionType == 6 && static_cast<uint32_t>(button.macroId) == id) return true;
    return false;
}

}  // namespace q30x
