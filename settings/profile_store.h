#pragma once
#include <array>
#include <string>

#include "i18n/catalogue.h"
#include "platform/paths.h"
#include "platform/user_messages.h"
#include "settings/settings_state.h"

namespace q30x {

// What the settings files need from the rest of the system.
struct SettingsContext {
    const Folders& folders;
    UserMessages& messages;
    const StringCatalogue& strings;
    const LanguageState& language;
};

// First-run seeding: when the working folder does not exist yet, creates it
// (private to the user) with its "Profile" folder and copies the nine default
// files from the program folder. An existing folder is left as it is, even
// with files missing, except that temporary files of interrupted saves are
// removed. True when it seeded.
bool seedWorkingFolder(const Folders& folders);

// The profile index and the profile files of the working folder, read and
// written on the window's thread.
class ProfileStore {
public:
    enum LoadResult : int { kNotOpened = 0, kLoaded = 1, kNotAProfile = 255 };

    ProfileStore(SettingsState& state, SettingsContext context) : state_(state), context_(context) {}

    // Start-up: reads the index, rebuilds every entry's path, and makes the
    // first selected entry whose file loads current (entry 1 when none does).
    void loadProfileIndexAndCurrent();

    // Reads a profile file into the current record. Missing files are
    // reported (when asked) and replaced by a default file.
    int loadProfileFile(const std::string& path, bool reportErrors);

    // Fills the current record with defaults and writes it to `path`;
    // 1 written, 0 not written.
    int writeDefaultProfileFile(const std::string& path);

    // The user picked profile `entry` (0..4). The file is read into a scratch
    // record first: when it does not load, the previous profile stays current
    // and nothing changes. True when switched.
    bool switchProfile(int entry);

    // The mouse accepted a whole apply: the macro references go into the
    // current entry, then the profile file and the index are written. A
    // failure is told (once, for the first file that failed); false then.
    bool saveAfterApply();

    // Which profile buttons show as selected, as of the last load or switch.
    const std::array<bool, kProfileCount>& selectionMarks() const { return marks_; }

    std::string indexPath() const;
    std::string profilePath(int entry) const;

private:
    int readProfileInto(ProfileRecord& record, const std::string& path, bool reportErrors);
    int writeDefaultsInto(ProfileRecord& record, const std::string& path);

    SettingsState& state_;
    SettingsContext context_;
    std::array<bool, kProfileCount> marks_{};
};

}  // namespace q30x
