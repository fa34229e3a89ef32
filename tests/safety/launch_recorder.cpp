// Stands in for a program the product starts. Into the file that
// Q30X_TEST_RECORD names it writes its arguments, each followed by a zero
// byte; into that name with ".state" the descriptors it inherited beyond the
// standard three and its blocked and ignored signals, as the kernel lists
// them. The state is written first and both are renamed into place whole, so
// a reader that finds the arguments finds everything.
#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool writeWhole(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

std::string inheritedDescriptors() {
    std::string list;
    DIR* folder = ::opendir("/proc/self/fd");
    if (!folder) return "?";
    while (const dirent* entry = ::readdir(folder)) {
        const int fd = std::atoi(entry->d_name);
        if (entry->d_name[0] != '.' && fd > 2 && fd != ::dirfd(folder)) list += " " + std::string(entry->d_name);
    }
    ::closedir(folder);
    return list;
}

std::string signalLines() {
    std::ifstream status("/proc/self/status");
    std::string line, lines;
    while (std::getline(status, line))
        if (line.rfind("SigBlk:", 0) == 0 || line.rfind("SigIgn:", 0) == 0) lines += line + "\n";
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const char* record = std::getenv("Q30X_TEST_RECORD");
    if (!record) return 2;
    std::string arguments;
    for (int i = 0; i < argc; ++i) arguments.append(argv[i]).push_back('\0');
    const std::string state = "fds:" + inheritedDescriptors() + "\n" + signalLines();
    return writeWhole(std::string(record) + ".state", state) && writeWhole(record, arguments) ? 0 : 1;
}
