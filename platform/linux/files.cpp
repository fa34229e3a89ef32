#include "platform/files.h"
#include "platform/paths.h"

#include <cctype>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q30x {
namespace {

FileError errorOf(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return FileError::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return FileError::AccessDenied;
    default:
        return FileError::Other;
    }
}

std::string folderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool writeAll(int fd, const uint8_t* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

FileRead readFile(const std::string& path, std::size_t maxBytes) {
    FileRead result;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = errorOf(errno);
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        result.error = FileError::AccessDenied;
        return result;
    }
    // The size is only a hint: the buffer grows if the file is longer than it said.
    std::size_t hint = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 4096;
    result.bytes.resize(std::min(maxBytes, hint));
    std::size_t got = 0;
    while (got < maxBytes) {
        if (got == result.bytes.size()) result.bytes.resize(std::min(maxBytes, got * 2 + 4096));
        ssize_t n = ::read(fd, result.bytes.data() + got, result.bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.error = FileError::Other;
            break;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    result.bytes.resize(got);
    return result;
}

FileError writeFileAtomic(const std::string& path, std::span<const uint8_t> bytes) {
    struct stat st {};
    bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && (S_ISDIR(st.st_mode) || ::access(path.c_str(), W_OK) != 0)) return FileError::AccessDenied;
    mode_t mode = exists ? (st.st_mode & 07777) : 0644;

    std::string temp = folderOf(path) + "/." + path.substr(path.find_last_of('/') + 1) + ".XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return errorOf(errno);
    bool ok = writeAll(fd, bytes.data(), bytes.size()) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    int writeErr = errno;
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        if (ok) writeErr = errno;
        ::unlink(temp.c_str());
        return writeErr == ENOSPC ? FileError::Other : errorOf(writeErr);
    }
    // The rename itself must reach the disk for the new content to survive a crash.
    int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return FileError::None;
}

namespace {

// ".NAME.XXXXXX" as writeFileAtomic's mkstemp names it.
bool isTemporaryName(const std::string& name) {
    constexpr std::size_t kSuffix = 6;
    if (name.size() < kSuffix + 3 || name[0] != '.' || name[name.size() - kSuffix - 1] != '.') return false;
    for (std::size_t i = name.size() - kSuffix; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

}  // namespace

int removeStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        const std::string path = folder + "/" + name;
        if (isTemporaryName(name) && ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::unlink(path.c_str()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool directoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string absolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/') return path;
    std::string folder(4096, '\0');
    if (!::getcwd(folder.data(), folder.size())) return path;
    folder.resize(folder.find('\0'));
    return joinPath(folder, path);
}

bool isWritableDirectory(const std::string& path) { return directoryExists(path) && ::access(path.c_str(), W_OK | X_OK) == 0; }

bool createDirectories(const std::string& path, unsigned mode) {
    if (path.empty()) return false;
    if (directoryExists(path)) return true;
    std::string parent = folderOf(path);
    if (parent != path && !directoryExists(parent) && !createDirectories(parent, mode)) return false;
    if (::mkdir(path.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) return false;
    return directoryExists(path);
}

bool copyFileIfAbsent(const std::string& from, const std::string& to) {
    if (fileExists(to)) return false;
    FileRead source = readFile(from, SIZE_MAX / 2);
    if (source.error != FileError::None) return false;
    return writeFileAtomic(to, source.bytes) == FileError::None;
}

}  // namespace q30x
