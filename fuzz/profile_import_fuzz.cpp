// Any bytes as a profile file the support page imports: the import takes it
// whole, with the macros its buttons name, or leaves the current profile
// untouched; a taken one is shown by the pages, applied to the mouse without
// a frame the mouse refuses, and exported and imported again byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "app/hints.h"
#include "buttons/assignment.h"
#include "fuzz/fuzz_support.h"
#include "pages/led_model.h"
#include "pages/main_set_model.h"
#include "pages/profile_transfer.h"
#include "platform/utf16.h"

using namespace q30x;

namespace {

void showOnThePages(ProfileRecord& record, const LanguageState& language) {
    mainset::dpiChecks(record);
    mainset::rateIndex(record.reportInterval);
    if (record.wheelScrollLines != mainset::kOneScreen) {
        const int lines = mainset::wheelFieldValue(record.wheelScrollLines);
        fuzz::expect(lines >= mainset::kMinWheelLines && lines <= mainset::kMaxWheelLines, "wheel lines in range");
    }
    led::modeView(record.lightingMode, record.symphonyCustom, 0);
    const fuzz::CodeLayout layout;
    static const StringCatalogue strings;
    for (int input = 0; input < kButtonCount; ++input) {
        const ButtonAssignment& button = record.buttons[input];
        isAssignmentChanged(record, input);
        toUtf8(hintText(kFirstLabelHint + input, strings, record, language.chineseUi));
        toUtf8(fixedText(button.targetPath));
        combinationLabel(button.comboCode, language.languageNumber, layout);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string path = fuzz::writeInput(fuzz::folders().working, "import.cfg", data, size);
    static const LanguageState language{0, 0, 2};
    auto state = std::make_unique<SettingsState>();
    fillProfileDefaults(state->current, language.chineseUi);
    state->macroRefs.fill(static_cast<int32_t>(fuzz::kFirstSampleMacroId));
    const auto before = std::make_unique<SettingsState>(*state);

    if (!importProfile(path, *state).done) {
        fuzz::expect(std::memcmp(&before->current, &state->current, sizeof state->current) == 0 &&
                         before->macroRefs == state->macroRefs,
                     "a refused import to leave the profile and its macros as they were");
        return 0;
    }
    fuzz::expect(std::memcmp(&state->current, data, size) == 0, "the imported profile to hold the file's bytes");
    showOnThePages(state->current, language);
    fuzz::expectCleanApply(*state, fuzz::sampleMacros(), language);

    const std::string exported = fuzz::folders().working + "/export.cfg";
    fuzz::expect(exportProfileFile(exported, state->current).done, "the export to be written");
    auto again = std::make_unique<ProfileRecord>();
    fuzz::expect(importProfileFile(exported, *again).done, "the export to import");
    fuzz::expect(std::memcmp(again.get(), &state->current, sizeof *again) == 0, "the export to import unchanged");
    return 0;
}
