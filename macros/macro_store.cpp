#include "macros/macro_store.h"

#include <cstring>
#include <span>

#include "platform/files.h"
#include "platform/utf16.h"

namespace q30x {
namespace {

std::span<const uint8_t> bytesOf(const MacroLibrary& library) {
    return {reinterpret_cast<const uint8_t*>(&library), sizeof library};
}

}  // namespace

std::u16string_view macroInUseText(int chineseUi) {
    return chineseUi ? u"当前宏正在被使用，不能删除！" : u"The macro is being applied and cannot be deleted!";
}

std::u16string_view macroLibraryFullText(int chineseUi) {
    return chineseUi ? u"宏库已满（500 个宏），此宏未能保存。请先删除不用的宏。"
                     : u"The macro library is full (500 macros): this macro could not be stored. Delete a macro you "
                       u"no longer use first.";
}

std::u16string macroRowsNotStoredText(int rows, int chineseUi) {
    const std::u16string count = fromUtf8(std::to_string(rows));
    if (chineseUi) return u"宏最多保存 1000 个事件，最后 " + count + u" 行未能保存。";
    return u"A macro holds at most 1,000 events: the last " + count + u" rows were not stored.";
}

std::string MacroStore::filePath() const { return joinPath(context_.folders.working, filenames::kMacro); }

std::u16string MacroStore::missingFileText(const std::string& path) const {
    return formatText(context_.strings.messageText("str_msg2"), fromUtf8(path));
}

bool MacroStore::loadFile() {
    const std::string path = filePath();
    FileRead read = readFile(path, sizeof(MacroLibrary));
    if (read.error == FileError::NotFound) context_.messages.info(missingFileText(path));
    if (read.error != FileError::None) return false;
    std::memset(static_cast<void*>(&library_), 0, sizeof library_);
    std::memcpy(static_cast<void*>(&library_), read.bytes.data(), read.bytes.size());
    return true;
}

bool MacroStore::saveFile() {
    const std::string path = filePath();
    FileError error;
    if (!fileExists(path)) {
        context_.messages.standard(missingFileText(path), kInfoCaption);
        error = writeFileAtomic(path, bytesOf(library_), FileAccess::Private);
        if (error == FileError::NotFound) return false;  // the missing folder was just told
    } else if (writer_) {
        writer_->write(path, bytesOf(library_));
        return true;
    } else {
        error = writeMacroFile(clock_, path, bytesOf(library_));
    }
    reportWriteFailure(error);
    return error == FileError::None;
}

void MacroStore::reportWriteFailure(FileError error) const {
    // A refused write is told, whether the file was there or not: otherwise
    // the user believes the change is kept.
    if (error == FileError::AccessDenied) context_.messages.standard(context_.strings.messageText("str_msg4"), kInfoCaption);
    else if (error != FileError::None)
        context_.messages.standard(notSavedText(error, filePath(), context_.language.chineseUi), kInfoCaption);
}

MacroResult MacroStore::buildAndStore(std::vector<MacroRow>& rows, std::u16string_view loopText, const uint32_t* id,
                                      std::u16string_view name, int* droppedRows) {
    if (droppedRows) *droppedRows = 0;
    if (rows.empty()) return MacroResult::NoRows;
    mergeDelayRows(rows);
    if (!id) return MacroResult::NoCurrentMacro;
    MacroRecord record;
    BuiltMacro built = buildMacroRecord(rows, loopText, *id, name, record);
    if (droppedRows) *droppedRows = built.droppedRows;
    return storeRecord(record);
}

MacroResult MacroStore::storeRecord(const MacroRecord& record) {
    if (record.size < kMacroBaseSize + 4 || record.magic >> 16 != kMacroMagicMark) return MacroResult::NotAMacro;
    MacroRecord* slot = findById(library_, record.id);
    for (MacroRecord& candidate : library_.slots)
        if (!slot && isFree(candidate)) slot = &candidate;
    if (!slot) return MacroResult::LibraryFull;
    *slot = record;
    const uint32_t count = storedEventCount(record);
    std::memset(slot->events + count, 0, sizeof(MacroEvent) * (kMacroEventCapacity - count));
    return saveFile() ? MacroResult::Done : MacroResult::NotSaved;
}

MacroResult MacroStore::deleteMacro(uint32_t id, const SettingsState& state) {
    if (isMacroInUse(state, id)) {
        context_.messages.info(macroInUseText(context_.language.chineseUi));
        return MacroResult::InUse;
    }
    MacroRecord* slot = findById(library_, id);
    if (!slot) return MacroResult::NotFound;
    std::memset(static_cast<void*>(slot), 0, sizeof *slot);
    return saveFile() ? MacroResult::Done : MacroResult::NotSaved;
}

MacroResult MacroStore::rename(uint32_t id, std::u16string_view name) {
    name = name.substr(0, kMacroNameUnits - 1);
    bool found = false, changed = false;
    for (MacroRecord& slot : library_.slots) {
        if (!isListed(slot) || slot.id != id) continue;
        found = true;
        if (fixedText(slot.name) == name) continue;
        setFixedText(slot.name, name);
        changed = true;
    }
    if (!found) return MacroResult::NotFound;
    if (!changed) return MacroResult::Unchanged;
    return saveFile() ? MacroResult::Done : MacroResult::NotSaved;
}

}  // namespace q30x
