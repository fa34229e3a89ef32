#include <csignal>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>

#include "platform/devices.h"

extern char** environ;

namespace q30x {
namespace {

// A started program begins as if from a fresh session: every signal at its
// default and none blocked (an ignored SIGPIPE or a blocked SIGTERM would
// otherwise carry over), and no descriptor of ours but the standard three.
struct CleanStart {
    CleanStart() {
        posix_spawnattr_init(&attributes);
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &all);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    }
    ~CleanStart() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    CleanStart(const CleanStart&) = delete;
    CleanStart& operator=(const CleanStart&) = delete;

    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;
};

class SpawnLauncher final : public ProgramLauncher {
public:
    bool launch(const std::string& program, const std::vector<std::string>& arguments) override {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        pid_t pid = 0;
        const CleanStart start;
        const bool searchPath = program.find('/') == std::string::npos;
        // Neither call falls back to a shell: a file the kernel cannot execute is a failure.
        const int failed =
            searchPath ? ::posix_spawnp(&pid, program.c_str(), &start.actions, &start.attributes, argv.data(), environ)
                       : ::posix_spawn(&pid, program.c_str(), &start.actions, &start.attributes, argv.data(), environ);
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
