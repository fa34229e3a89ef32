#pragma once
#include <map>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>
#include <vector>

namespace q30x::test {

// What a started program inherits beyond its environment.
struct ProcessSetup {
    std::optional<mode_t> umask;
    // A file-size limit, with SIGXFSZ ignored: a write past it fails with
    // EFBIG, as a write to a full disk fails.
    std::optional<rlim_t> fileSizeLimit;
    bool errorsToOutput = false;  // standard error into the output file too
};

// A program started with its own arguments and environment additions, its
// standard output going to a file; killed when the object ends.
class ProgramProcess {
public:
    ProgramProcess(const std::string& program, const std::vector<std::string>& arguments,
                   const std::map<std::string, std::string>& environment, const std::string& outputFile,
                   const ProcessSetup& setup = {});
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    void signal(int number);
    // The exit status once it ended within `ms`, else nothing.
    std::optional<int> waitForExit(int ms);

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// A top-level window of the X server by its exact title.
struct FoundWindow {
    unsigned long id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    bool viewable = false;
};
std::optional<FoundWindow> findWindow(const std::string& title);
// Waits until a window of that title is viewable (or, with `viewable`
// false, until none is); false after `ms`.
bool waitForWindow(const std::string& title, bool viewable, int ms);
// Waits until `done()` holds, polling; false after `ms`.
template <typename Predicate>
bool waitUntil(Predicate done, int ms);

// A left click at a screen point through XTest, as a real pointer makes it.
void clickAt(int x, int y);

}  // namespace q30x::test

#include <chrono>
#include <thread>

template <typename Predicate>
bool q30x::test::waitUntil(Predicate done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
