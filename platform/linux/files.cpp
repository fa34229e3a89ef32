#include "platform/files.h"
#include "platform/paths.h"

#include <cctype>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
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
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileError::NoSpace;
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

std::string nameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

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

namespace {

constexpr std::size_t kSuffixLength = 6;

// Six letters or digits, as mkstemp would choose them.
std::string randomSuffix() {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<uint64_t> counter{0};
    uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits))
        bits = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               (static_cast<uint64_t>(::getpid()) << 40) ^ counter++;
    std::string suffix;
    for (std::size_t i = 0; i < kSuffixLength; ++i, bits /= sizeof kAlphabet - 1)
        suffix += kAlphabet[bits % (sizeof kAlphabet - 1)];
    return suffix;
}

// ".NAME.XXXXXX" as createTemporaryBeside names it.
bool isTemporaryName(const std::string& name) {
    if (name.size() < kSuffixLength + 3 || name[0] != '.' || name[name.size() - kSuffixLength - 1] != '.') return false;
    for (std::size_t i = name.size() - kSuffixLength; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

bool isTemporaryOf(const std::string& name, const std::string& target) {
    return name.size() == target.size() + kSuffixLength + 2 && name.compare(1, target.size(), target) == 0 &&
           isTemporaryName(name);
}

// Removes the temporary file unless a living writer holds its lock.
bool removeIfAbandoned(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat held {}, named {};
    // The name must still be the file that was locked: its writer may have renamed it meanwhile.
    const bool abandoned = ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                           ::lstat(path.c_str(), &named) == 0 && named.st_ino == held.st_ino &&
                           named.st_dev == held.st_dev;
    const bool removed = abandoned && ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

// The abandoned temporaries of `folder`, or only those of the file `target` when it is given.
int sweep(const std::string& folder, const std::string* target) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (target ? isTemporaryOf(name, *target) : isTemporaryName(name))
            removed += removeIfAbandoned(folder + "/" + name) ? 1 : 0;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace

TemporaryFile createTemporaryBeside(const std::string& target, FileAccess access) {
    TemporaryFile temporary;
    const std::string folder = folderOf(target), name = nameOf(target);
    sweep(folder, &name);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    // open() takes the umask off a new file of the user's; a private one gets exactly 0600 below.
    const mode_t created = access == FileAccess::Private ? 0600 : 0666;
    for (int attempt = 0; attempt < 100 && temporary.descriptor < 0; ++attempt) {
        temporary.path = folder + "/." + name + "." + randomSuffix();
        temporary.descriptor =
            ::open(temporary.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, created);
        if (temporary.descriptor < 0 && errno != EEXIST) break;
    }
    if (temporary.descriptor < 0) {
        temporary.error = errorOf(errno);
        return temporary;
    }
    ::flock(temporary.descriptor, LOCK_EX);
    bool moded = true;
    if (access == FileAccess::Private) moded = ::fchmod(temporary.descriptor, 0600) == 0;
    else if (replacing) moded = ::fchmod(temporary.descriptor, old.st_mode & 07777) == 0;
    if (!moded) {
        temporary.error = errorOf(errno);
        ::close(temporary.descriptor);
        ::unlink(temporary.path.c_str());
        temporary.descriptor = -1;
    }
    return temporary;
}

FileError writeFileAtomic(const std::string& path, std::span<const uint8_t> bytes, FileAccess access) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || ::access(path.c_str(), W_OK) != 0))
        return FileError::AccessDenied;
    const TemporaryFile temporary = createTemporaryBeside(path, access);
    if (temporary.descriptor < 0) return temporary.error;
    const bool ok = writeAll(temporary.descriptor, bytes.data(), bytes.size()) && ::fsync(temporary.descriptor) == 0 &&
              ::rename(temporary.path.c_str(), path.c_str()) == 0;
    const int failure = errno;
    // The lock goes with the descriptor, once the name is the target's.
    ::close(temporary.descriptor);
    if (!ok) {
        ::unlink(temporary.path.c_str());
        return errorOf(failure);
    }
    // The rename itself must reach the disk for the new content to survive a crash.
    int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return FileError::None;
}

int removeStaleTemporaries(const std::string& folder) { return sweep(folder, nullptr); }

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

bool copyFileIfAbsent(const std::string& from, const std::string& to, FileAccess access) {
    if (fileExists(to)) return false;
    FileRead source = readFile(from, SIZE_MAX / 2);
    if (source.error != FileError::None) return false;
    return writeFileAtomic(to, source.bytes, access) == FileError::None;
}

}  // namespace q30x
