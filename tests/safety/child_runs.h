#pragma once
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/program_process.h"

namespace q30x::test {

// The build's programs: q30xctl, q30x and the two test programs beside them.
std::string buildProgram(const std::string& name);

// A run of a program to its end, with the time it took: kill moments are
// chosen within it.
struct FinishedRun {
    int status = -1;  // -1: it did not end within a minute
    std::chrono::microseconds took{0};
    std::string output;  // standard output and error
    // Since the start, when the output first held the `marker` asked for.
    std::optional<std::chrono::microseconds> markedAt;
};
FinishedRun runToEnd(const std::string& program, const std::vector<std::string>& arguments,
                     const std::map<std::string, std::string>& environment, const ProcessSetup& setup = {},
                     const std::string& marker = {});

// Starts the program and kills it with SIGKILL `delay` after its start, or
// after it printed `marker` when one is given. True when it ended by itself
// first.
bool runAndKill(const std::string& program, const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& environment, std::chrono::microseconds delay,
                const std::string& marker = {});

// The names in `folder` that start with a dot: what a killed writer leaves.
std::vector<std::string> hiddenFiles(const std::string& folder);

}  // namespace q30x::test
