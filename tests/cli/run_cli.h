#pragma once
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace q30x::test {

// One q30xctl run with its exit status and both streams.
struct CliResult {
    int status;
    std::string out, err;
};

inline CliResult runCli(const std::vector<std::string>& words) {
    std::vector<const char*> argv{"q30xctl"};
    for (const auto& word : words) argv.push_back(word.c_str());
    std::ostringstream out, err;
    int status = cli::run(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

}  // namespace q30x::test
