#include "platform/paths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace q30x {

std::string executableFolder() {
    std::vector<char> buffer(4096);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return ".";
    std::string path(buffer.data(), static_cast<std::size_t>(n));
    auto slash = path.find_last_of('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

namespace {
// An XDG base folder: the variable when it holds an absolute path, else the
// home folder with `fallback`.
std::string xdgFolder(const char* variable, const char* fallback) {
    if (const char* xdg = std::getenv(variable); xdg && *xdg == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : "/tmp";
    }
    return std::string(home) + fallback;
}
}  // namespace

std::string defaultWorkingFolder() {
    if (const char* explicitDir = std::getenv("Q30X_WORKDIR"); explicitDir && *explicitDir) return explicitDir;
    return xdgFolder("XDG_CONFIG_HOME", "/.config") + "/TARVO/Q30X";
}

std::string defaultCacheFolder() { return xdgFolder("XDG_CACHE_HOME", "/.cache") + "/TARVO/Q30X"; }

std::string profileFileName(int n) {
    return std::string(filenames::kProfileFolder) + "/Profile" + std::to_string(n) + ".cfg";
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace q30x
