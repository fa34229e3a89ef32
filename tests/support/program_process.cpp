#include "tests/support/program_process.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/xvfb.h"

extern char** environ;

namespace q30x::test {

namespace {

// The started program takes the umask, the limits and the signal
// dispositions of its parent at the moment it starts: they are set here for
// that moment only.
class InheritedSetup {
public:
    explicit InheritedSetup(const ProcessSetup& setup) {
        if (setup.umask) previousUmask_ = ::umask(*setup.umask);
        if (setup.fileSizeLimit) {
            ::getrlimit(RLIMIT_FSIZE, &previousLimit_);
            rlimit limit = previousLimit_;
            limit.rlim_cur = *setup.fileSizeLimit;
            limited_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
            if (limited_) previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        }
    }
    ~InheritedSetup() {
        if (previousUmask_) ::umask(*previousUmask_);
        if (limited_) {
            ::setrlimit(RLIMIT_FSIZE, &previousLimit_);
            std::signal(SIGXFSZ, previousHandler_);
        }
    }
    InheritedSetup(const InheritedSetup&) = delete;
    InheritedSetup& operator=(const InheritedSetup&) = delete;

private:
    std::optional<mode_t> previousUmask_;
    rlimit previousLimit_{};
    bool limited_ = false;
    void (*previousHandler_)(int) = SIG_DFL;
};

}  // namespace

ProgramProcess::ProgramProcess(const std::string& program, const std::vector<std::string>& arguments,
                               const std::map<std::string, std::string>& environment, const std::string& outputFile,
                               const ProcessSetup& setup) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (!environment.count(entry.substr(0, entry.find('=')))) env.push_back(entry);
    }
    for (const auto& [name, value] : environment) env.push_back(name + "=" + value);
    std::vector<char*> envp, argv{const_cast<char*>(program.c_str())};
    for (auto& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (setup.errorsToOutput) posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const InheritedSetup inherited(setup);
    if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

ProgramProcess::~ProgramProcess() {
    if (pid_ > 0 && !status_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

void ProgramProcess::signal(int number) {
    if (pid_ > 0 && !status_) ::kill(pid_, number);
}

std::optional<int> ProgramProcess::waitForExit(int ms) {
    if (status_ || pid_ <= 0) return status_;
    waitUntil(
        [&] {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_)
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return status_.has_value();
        },
        ms);
    return status_;
}

namespace {

std::optional<FoundWindow> search(Display* display, Window window, const std::string& title) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        const bool match = title == name;
        XFree(name);
        XWindowAttributes attributes;
        if (match && XGetWindowAttributes(display, window, &attributes)) {
            FoundWindow found;
            found.id = window;
            Window child;
            XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &found.x, &found.y, &child);
            found.width = attributes.width;
            found.height = attributes.height;
            found.viewable = attributes.map_state == IsViewable;
            if (found.viewable) return found;
        }
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    std::optional<FoundWindow> hidden;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i) {
            auto found = search(display, children[i], title);
            if (found && found->viewable) {
                XFree(children);
                return found;
            }
            if (found) hidden = found;
        }
        if (children) XFree(children);
    }
    return hidden;
}

}  // namespace

std::optional<FoundWindow> findWindow(const std::string& title) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return std::nullopt;
    auto found = search(display, DefaultRootWindow(display), title);
    XCloseDisplay(display);
    return found;
}

bool waitForWindow(const std::string& title, bool viewable, int ms) {
    return waitUntil(
        [&] {
            auto found = findWindow(title);
            return viewable ? found && found->viewable : !found || !found->viewable;
        },
        ms);
}

void clickAt(int x, int y) {
    fakeMotion(x, y);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    fakeButton(1, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    fakeButton(1, false);
}

}  // namespace q30x::test
