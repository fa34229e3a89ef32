#pragma once
#include <string>

#include "settings/profile_record.h"

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
// Writes the whole record, replacing the file atomically.
TransferResult exportProfileFile(const std::string& path, const ProfileRecord& record);

}  // namespace q30x
