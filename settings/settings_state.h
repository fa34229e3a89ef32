#pragma once
#include <array>

#include "settings/profile_index.h"
#include "settings/profile_record.h"

namespace q30x {

// The one process-wide settings state: the pages edit it in place on the
// window's thread, the apply worker reads it while that thread waits.
struct SettingsState {
    ProfileRecord current{};
    ProfileMacroRefs macroRefs{};
    ProfileIndex index{};
    int currentEntry = 0;  // 0..4

    ProfileIndexEntry& currentIndexEntry() { return index.entries[currentEntry]; }

    // Profile button n+1 is shown selected exactly when this is true for n.
    std::array<bool, kProfileCount> selectionMarks() const {
        std::array<bool, kProfileCount> marks{};
        for (int n = 0; n < kProfileCount; ++n) marks[n] = isEntryMarkedSelected(index.entries[n]);
        return marks;
    }
};

// Restoring the default settings: the factory profile, its labels in the
// interface wording, and no macro references. Nothing is saved or sent.
inline void restoreDefaults(SettingsState& state, int chineseUi) {
    fillProfileDefaults(state.current, chineseUi);
    state.macroRefs.fill(0);
}

}  // namespace q30x
