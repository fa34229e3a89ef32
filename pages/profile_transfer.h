#pragma once
#include <string>

#include "settings/settings_state.h"

namespace q30x {

// The support page's import and export of the active profile as a file of
// the user's choice. Each returns the text the page shows in the standard
// box, with the path in it.
struct TransferResult {
    bool done = false;
    std::u16string text;
};

// Takes a file that starts with the profile magic and is not longer than a
// record; a shorter one leaves the rest of the record zero. Anything else
// (missing, unreadable, a folder, too short, too long, another magic)
// leaves `record` untouched.
TransferResult importProfileFile(const std::string& path, ProfileRecord& record);
// The import as the support page and q30xctl do it: the file into the
// current record and, when it was taken, the macro references from its
// macro buttons (their own macroId; 0 for every other button). The apply
// plays a button's macro by its reference, so those of the profile the file
// replaced must not stay behind.
TransferResult importProfile(const std::string& path, SettingsState& state);

// Writes the whole record, replacing the file atomically.
TransferResult exportProfileFile(const std::string& path, const ProfileRecord& record);

}  // namespace q30x
