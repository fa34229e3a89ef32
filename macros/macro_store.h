#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/catalogue.h"
#include "macros/macro_library.h"
#include "macros/macro_rows.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/user_messages.h"
#include "settings/settings_state.h"

namespace q30x {

// What the macro file and its operations need from the rest of the system.
struct MacroContext {
    const Folders& folders;
    UserMessages& messages;
    const StringCatalogue& strings;
    const LanguageState& language;
    Clock& clock;
};

enum class MacroResult {
    Done,
    NotSaved,        // changed in memory, the file could not be written
    Unchanged,       // rename to the name it already has
    NoRows,          // nothing to build from
    NoCurrentMacro,  // the editor has no macro selected
    NotAMacro,       // the record lacks the size or the magic of a macro
    LibraryFull,
    InUse,
    NotFound,
};

// The macro library and "Macro.cfg" in the working folder. Every change is
// written to the file at once, replacing it whole.
class MacroStore {
public:
    MacroStore(MacroLibrary& library, MacroContext context) : library_(library), context_(context) {}

    // Start-up: a missing file is reported and leaves the library empty.
    bool loadFile();
    bool saveFile();

    // The editor's save of its current macro (id null: none selected).
    // `droppedRows` tells how many rows did not fit into the record.
    MacroResult buildAndStore(std::vector<MacroRow>& rows, std::u16string_view loopText, const uint32_t* id,
                              std::u16string_view name, int* droppedRows = nullptr);
    // Into the slot with the record's id, else the first free one.
    MacroResult storeRecord(const MacroRecord& record);
    // Refused with a message while a profile uses the macro.
    MacroResult deleteMacro(uint32_t id, const SettingsState& state);
    MacroResult rename(uint32_t id, std::u16string_view name);

    std::string filePath() const;
    const MacroLibrary& library() const { return library_; }

private:
    std::u16string missingFileText(const std::string& path) const;

    MacroLibrary& library_;
    MacroContext context_;
};

// The refusal shown when deleting a macro a profile uses.
std::u16string_view macroInUseText(int chineseUi);

}  // namespace q30x
