#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <span>
#include <string>
#include <vector>

namespace q30x {

// The causes the system tells apart when a file cannot be used.
enum class FileError {
    None,
    NotFound,      // the file or a folder of its path does not exist
    AccessDenied,  // it exists but may not be opened that way
    NoSpace,       // the disk, the user's quota or the file-size limit is full
    Other,
};

// Who may read a file the program replaces.
enum class FileAccess {
    // The working folder's files: this user only (0600), whatever the umask
    // and whatever mode the old file had.
    Private,
    // A file at a place the user chose (an export, the program folder): a
    // new one gets what the umask allows, a replaced one keeps its mode.
    UserDefault,
};

struct FileRead {
    FileError error = FileError::None;
    std::vector<uint8_t> bytes;
};

// Reads at most `maxBytes` from the start of the file.
FileRead readFile(const std::string& path, std::size_t maxBytes);

// Replaces the whole file, or leaves the old one untouched: the bytes go to a
// temporary file in the same folder, are flushed, and are renamed over the
// target. A read-only target is refused as AccessDenied, as an in-place write
// would be.
FileError writeFileAtomic(const std::string& path, std::span<const uint8_t> bytes, FileAccess access);

// A temporary file beside `target` (".NAME.XXXXXX"), open for writing and
// locked until it is closed, so that no sweep takes a file still being
// written. The temporaries of `target` that killed writers left are removed
// first: a start cannot know every folder a file was written to.
struct TemporaryFile {
    int descriptor = -1;  // -1 when it could not be made, for `error`
    std::string path;
    FileError error = FileError::None;
};
TemporaryFile createTemporaryBeside(const std::string& target, FileAccess access);

// A writer killed between writing and renaming leaves its temporary file
// (".NAME.XXXXXX") beside the target; this removes those of `folder` that no
// living writer holds. The number removed.
int removeStaleTemporaries(const std::string& folder);

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);
// A relative path made full from the current folder; a full path, or a
// relative one when the current folder is unknown, as it is.
std::string absolutePath(const std::string& path);
// A folder this user may create files in.
bool isWritableDirectory(const std::string& path);

// Creates the folder and its missing parents; `mode` applies to the folders
// it creates. True when the folder exists afterwards.
bool createDirectories(const std::string& path, unsigned mode = 0755);

// Copies `from` to `to` unless `to` already exists.
bool copyFileIfAbsent(const std::string& from, const std::string& to, FileAccess access);

// Reads and writes whole records through the two calls above.
template <typename Record>
FileError readRecord(const std::string& path, Record& record) {
    FileRead read = readFile(path, sizeof(Record));
    if (read.error != FileError::None) return read.error;
    std::vector<uint8_t> image(sizeof(Record), 0);
    std::copy(read.bytes.begin(), read.bytes.end(), image.begin());
    std::memcpy(static_cast<void*>(&record), image.data(), sizeof(Record));
    return FileError::None;
}

template <typename Record>
FileError writeRecord(const std::string& path, const Record& record, FileAccess access) {
    return writeFileAtomic(path, std::span(reinterpret_cast<const uint8_t*>(&record), sizeof(Record)), access);
}

}  // namespace q30x
