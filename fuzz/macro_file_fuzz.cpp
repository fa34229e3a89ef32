// Any bytes as "Macro.cfg": the start-up's load, the macro page's lists of
// every game group, the editor's rows of each listed macro, and an apply
// that uploads the first six of them, whose frames the mouse must all take.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "macros/game_presets.h"
#include "macros/macro_rows.h"
#include "macros/macro_store.h"
#include "platform/virtual/instant_clock.h"

using namespace q30x;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
    static const StringCatalogue strings;
    static const LanguageState language{0, 0, 2};
    static InstantClock clock;
    fuzz::SilentMessages messages;
    fuzz::writeInput(fuzz::folders().working, filenames::kMacro, data, size);
    MacroStore store(*library, {fuzz::folders(), messages, strings, language}, clock);
    fuzz::expect(store.loadFile(), "the macro file to load");

    auto state = std::make_unique<SettingsState>();
    fillProfileDefaults(state->current, language.chineseUi);
    int macroButton = 1;
    const fuzz::CodeLayout layout;
    for (int group = 0; group <= kGamePresetCount + 1; ++group) {
        for (const MacroListEntry& entry : listByGroup(*library, group)) {
            const MacroRecord* record = findById(*library, entry.id);
            if (!record) continue;
            bool complete = false;
            rowsOfRecord(*record, language.languageNumber, layout, &complete);
            if (macroButton < kButtonCount) {
                state->current.buttons[macroButton].functionType = 6;
                state->macroRefs[macroButton++] = static_cast<int32_t>(entry.id);
            }
        }
    }
    fuzz::expectCleanApply(*state, *library, language);
    return 0;
}
