#include "tests/safety/child_runs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <thread>

#include "tests/support/temp_folder.h"

namespace q30x::test {
namespace {

using Clock = std::chrono::steady_clock;

// A program whose standard output and error come through a pipe, not a
// file (a file-size limit would cut a file short), read while it runs.
class WatchedProcess {
public:
    WatchedProcess(const std::string& program, const std::vector<std::string>& arguments,
                   const std::map<std::string, std::string>& environment, ProcessSetup setup)
        : pipe_(scratch_.file("output")) {
        ::mkfifo(pipe_.c_str(), 0600);
        // Opened for writing too, so the program's open never waits and no read sees an end early.
        reader_ = ::open(pipe_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        setup.errorsToOutput = true;
        start_ = Clock::now();
        process_ = std::make_unique<ProgramProcess>(program, arguments, environment, pipe_, setup);
    }
    ~WatchedProcess() {
        process_.reset();  // kills what still runs
        if (reader_ >= 0) ::close(reader_);
    }
    WatchedProcess(const WatchedProcess&) = delete;
    WatchedProcess& operator=(const WatchedProcess&) = delete;

    // Polls finely until the program ends, or prints `marker` when one is
    // given, or a minute has passed. The time since the start.
    std::chrono::microseconds watch(const std::string& marker = {}) {
        const auto end = start_ + std::chrono::minutes(1);
        while (!ended() && (marker.empty() || output_.find(marker) == std::string::npos) && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_);
    }
    bool ended() {
        drain();
        if (!status_) status_ = process_->waitForExit(0);
        return status_.has_value();
    }
    std::optional<int> status() const { return status_; }
    const std::string& output() {
        drain();
        return output_;
    }

private:
    void drain() {
        char buffer[4096];
        ssize_t n;
        while (reader_ >= 0 && (n = ::read(reader_, buffer, sizeof buffer)) > 0)
            output_.append(buffer, static_cast<std::size_t>(n));
    }

    TempFolder scratch_;
    std::string pipe_;
    int reader_ = -1;
    Clock::time_point start_;
    std::unique_ptr<ProgramProcess> process_;
    std::optional<int> status_;
    std::string output_;
};

}  // namespace

std::string buildProgram(const std::string& name) { return std::string(Q30X_TEST_PROGRAM_DIR) + "/" + name; }

FinishedRun runToEnd(const std::string& program, const std::vector<std::string>& arguments,
                     const std::map<std::string, std::string>& environment, const ProcessSetup& setup,
                     const std::string& marker) {
    WatchedProcess process(program, arguments, environment, setup);
    FinishedRun run;
    if (!marker.empty()) {
        const auto at = process.watch(marker);
        if (process.output().find(marker) != std::string::npos) run.markedAt = at;
    }
    run.took = process.watch();
    run.status = process.status().value_or(-1);
    run.output = process.output();
    return run;
}

bool runAndKill(const std::string& program, const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& environment, std::chrono::microseconds delay,
                const std::string& marker) {
    WatchedProcess process(program, arguments, environment, {});
    if (!marker.empty()) process.watch(marker);
    std::this_thread::sleep_for(delay);
    return process.ended();
}

std::vector<std::string> hiddenFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.front() == '.') names.push_back(name);
    }
    return names;
}

}  // namespace q30x::test
