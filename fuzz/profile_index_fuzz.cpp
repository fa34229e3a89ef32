// Any bytes as "Profile/ConfigInfo.cfg": the start-up's load of the index and
// its current profile, the profile buttons, the macro references an apply
// uploads, and the index written back after the apply, which must read back
// as it was held.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "platform/files.h"
#include "settings/profile_store.h"

using namespace q30x;

namespace {

// Profile 2 plays a macro on every button but the left one; the other four
// are the factory profile.
void writeProfileFiles() {
    createDirectories(joinPath(fuzz::folders().working, filenames::kProfileFolder), 0700);
    auto profile = std::make_unique<ProfileRecord>();
    for (int n = 1; n <= kProfileCount; ++n) {
        fillProfileDefaults(*profile, 0);
        if (n == 2)
            for (int b = 1; b < kButtonCount; ++b) profile->buttons[b].functionType = 6;
        const std::string path = joinPath(fuzz::folders().working, profileFileName(n));
        fuzz::expect(writeRecord(path, *profile, FileAccess::Private) == FileError::None, "the profile files written");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const bool written = (writeProfileFiles(), true);
    (void)written;
    fuzz::SilentMessages messages;
    static const StringCatalogue strings;
    static const LanguageState language{0, 0, 2};
    fuzz::writeInput(fuzz::folders().working, filenames::kProfileIndex, data, size);

    auto state = std::make_unique<SettingsState>();
    ProfileStore store(*state, {fuzz::folders(), messages, strings, language});
    store.loadProfileIndexAndCurrent();
    fuzz::expect(state->currentEntry >= 0 && state->currentEntry < kProfileCount, "a current entry of 1 to 5");
    const auto& refs = state->currentIndexEntry().macroRefs;
    std::memcpy(state->macroRefs.data(), refs, sizeof refs);
    for (uint32_t m = 0; m < 7; ++m) isMacroInUse(*state, fuzz::kFirstSampleMacroId + m);
    fuzz::expectCleanApply(*state, fuzz::sampleMacros(), language);
    store.saveAfterApply();

    const auto saved = std::make_unique<ProfileIndex>(state->index);
    auto reread = std::make_unique<ProfileIndex>();
    fuzz::expect(readRecord(store.indexPath(), *reread) == FileError::None, "the saved index to read");
    fuzz::expect(std::memcmp(reread.get(), saved.get(), sizeof *saved) == 0, "the saved index to read back as held");
    for (int entry = 0; entry < kProfileCount; ++entry) {
        fuzz::expect(store.switchProfile(entry), "every profile file to load");
        fuzz::expect(store.selectionMarks()[entry], "the chosen profile to show selected");
    }
    return 0;
}
