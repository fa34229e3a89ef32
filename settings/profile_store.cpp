#include "settings/profile_store.h"

#include <cstring>
#include <memory>

#include "platform/files.h"
#include "platform/utf16.h"

namespace q30x {
namespace {

constexpr std::u16string_view kInvalidProfileText = u"%s is an invaild Profile!";

// Seeding copies in this order; the order only matters for a folder that runs
// out of space half-way.
constexpr const char* kSeededFiles[] = {
    filenames::kMacro, filenames::kLanguage, filenames::kStats, filenames::kProfileIndex,
};

}  // namespace

bool seedWorkingFolder(const Folders& folders) {
    if (directoryExists(folders.working)) {
        // What a writer killed mid-save left: the files themselves are whole.
        removeStaleTemporaries(folders.working);
        removeStaleTemporaries(joinPath(folders.working, filenames::kProfileFolder));
        return false;
    }
    createDirectories(folders.working, 0700);
    createDirectories(joinPath(folders.working, filenames::kProfileFolder), 0700);
    std::vector<std::string> names(std::begin(kSeededFiles), std::end(kSeededFiles));
    for (int n = 1; n <= kProfileCount; ++n) names.push_back(profileFileName(n));
    for (const auto& name : names)
        copyFileIfAbsent(joinPath(folders.program, name), joinPath(folders.working, name), FileAccess::Private);
    return true;
}

std::string ProfileStore::indexPath() const { return joinPath(context_.folders.working, filenames::kProfileIndex); }

std::string ProfileStore::profilePath(int entry) const {
    return joinPath(context_.folders.working, profileFileName(entry + 1));
}

void ProfileStore::loadProfileIndexAndCurrent() {
    ProfileIndex& index = state_.index;
    std::memset(static_cast<void*>(&index), 0, sizeof index);
    const std::string path = indexPath();
    FileError error = readRecord(path, index);
    if (error == FileError::NotFound) context_.messages.info(formatText(kMissingFileText, fromUtf8(path)));
    if (error != FileError::None) std::memset(static_cast<void*>(&index), 0, sizeof index);

    for (int n = 0; n < kProfileCount; ++n) setFixedText(index.entries[n].profilePath, fromUtf8(profilePath(n)));

    bool found = false;
    for (int n = 0; n < kProfileCount && !found; ++n) {
        ProfileIndexEntry& entry = index.entries[n];
        if (!isEntryMarkedSelected(entry)) continue;
        if (loadProfileFile(profilePath(n), true) == kLoaded) {
            state_.currentEntry = n;
            found = true;
        } else {
            entry.selected = 0;
            writeDefaultProfileFile(profilePath(n));
        }
    }
    if (!found) {
        if (loadProfileFile(profilePath(0), false) != kLoaded) writeDefaultProfileFile(profilePath(0));
        index.entries[0].selected = 1;
        state_.currentEntry = 0;
    }
    marks_ = state_.selectionMarks();
}

int ProfileStore::readProfileInto(ProfileRecord& record, const std::string& path, bool reportErrors) {
    FileRead read = readFile(path, sizeof(ProfileRecord));
    if (read.error == FileError::None) {
        std::memset(static_cast<void*>(&record), 0, sizeof record);
        std::memcpy(static_cast<void*>(&record), read.bytes.data(), read.bytes.size());
        if (!isValidProfile(record)) {
            context_.messages.standard(formatText(kInvalidProfileText, fromUtf8(path)), kInfoCaption);
            return kNotAProfile;
        }
        return kLoaded;
    }
    if (read.error == FileError::NotFound && reportErrors) {
        context_.messages.info(formatText(kMissingFileText, fromUtf8(path)));
        writeDefaultsInto(record, path);
    }
    return kNotOpened;
}

int ProfileStore::loadProfileFile(const std::string& path, bool reportErrors) {
    return readProfileInto(state_.current, path, reportErrors);
}

int ProfileStore::writeDefaultsInto(ProfileRecord& record, const std::string& path) {
    createDirectories(joinPath(context_.folders.working, filenames::kProfileFolder), 0700);
    // The record keeps what it held when the file cannot be written.
    auto defaults = std::make_unique<ProfileRecord>();
    fillProfileDefaults(*defaults, context_.language.chineseUi);
    FileError error = writeRecord(path, *defaults, FileAccess::Private);
    if (error == FileError::AccessDenied) context_.messages.info(context_.strings.messageText("str_msg4"));
    if (error != FileError::None) return 0;
    record = *defaults;
    return 1;
}

int ProfileStore::writeDefaultProfileFile(const std::string& path) { return writeDefaultsInto(state_.current, path); }

bool ProfileStore::switchProfile(int entry) {
    if (entry < 0 || entry >= kProfileCount) return false;
    auto scratch = std::make_unique<ProfileRecord>();
    if (readProfileInto(*scratch, profilePath(entry), true) != kLoaded) return false;
    state_.currentEntry = entry;
    state_.current = *scratch;
    ProfileIndex& index = state_.index;
    std::memcpy(state_.macroRefs.data(), index.entries[entry].macroRefs, sizeof index.entries[entry].macroRefs);
    for (auto& e : index.entries) e.selected = 0;
    index.entries[entry].selected = 1;
    for (int n = 0; n < kProfileCount; ++n) marks_[n] = index.entries[n].selected == 1;
    return true;
}

bool ProfileStore::saveAfterApply() {
    ProfileIndexEntry& entry = state_.currentIndexEntry();
    std::memcpy(entry.macroRefs, state_.macroRefs.data(), sizeof entry.macroRefs);
    const int chineseUi = context_.language.chineseUi;
    const std::string path = profilePath(state_.currentEntry);
    const FileError profile = writeRecord(path, state_.current, FileAccess::Private);
    reportSaveFailure(context_.messages, context_.strings, profile, path, chineseUi);
    // The index holds the selection and the macro references: losing it is
    // told too, unless the profile's box already said the disk refused.
    const FileError index = writeRecord(indexPath(), state_.index, FileAccess::Private);
    if (profile == FileError::None)
        reportSaveFailure(context_.messages, context_.strings, index, indexPath(), chineseUi);
    return profile == FileError::None && index == FileError::None;
}

}  // namespace q30x
