#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "macros/macro_file_writer.h"
#include "macros/macro_library.h"
#include "macros/macro_rows.h"
#include "platform/clock.h"
#include "settings/profile_store.h"

namespace q30x {

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
    // The save pauses go through `clock`.
    MacroStore(MacroLibrary& library, SettingsContext context, Clock& clock)
        : library_(library), context_(context), clock_(clock) {}

    // Start-up: a missing file is reported and leaves the library empty.
    bool loadFile();
    // With a writer, a save of the existing file is handed to it and counts
    // as done; a failure of its write comes back through reportWriteFailure.
    bool saveFile();
    void setWriter(MacroFileWriter* writer) { writer_ = writer; }
    // Tells the user of a refused write: the change is in memory only.
    void reportWriteFailure(FileError error) const;

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
    SettingsContext context_;
    Clock& clock_;
    MacroFileWriter* writer_ = nullptr;
};

// The refusal shown when deleting a macro a profile uses.
std::u16string_view macroInUseText(int chineseUi);
// Told when a store finds no slot, and when rows did not fit into a record.
std::u16string_view macroLibraryFullText(int chineseUi);
std::u16string macroRowsNotStoredText(int rows, int chineseUi);

}  // namespace q30x
