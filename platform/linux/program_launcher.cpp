#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>

#include "platform/devices.h"

extern char** environ;

namespace q30x {
namespace {

class SpawnLauncher final : public ProgramLauncher {
public:
    bool launch(const std::string& program, const std::vector<std::string>& arguments) override {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        pid_t pid = 0;
        const bool searchPath = program.find('/') == std::string::npos;
        const int failed = searchPath ? ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ)
                                      : ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
        if (failed != 0) return false;
        // The program runs on by itself; someone must still collect its exit.
        std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
        return true;
    }
};

}  // namespace

std::unique_ptr<ProgramLauncher> makeSystemProgramLauncher() { return std::make_unique<SpawnLauncher>(); }

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace q30x
