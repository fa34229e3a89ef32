#pragma once
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "platform/paths.h"

namespace q30x::cli {

// What every command gets: its streams, the global options and its own words.
struct Invocation {
    std::ostream& out;
    std::ostream& err;
    std::map<std::string, std::string> options;  // global options by name, "" for a flag
    std::vector<std::string> args;

    bool has(const std::string& option) const { return options.count(option) != 0; }
    Folders folders() const;
};

struct Command {
    const char* name;
    const char* usage;    // the words after the command name
    const char* summary;  // one line for the overview
    const char* help;     // the rest of the command's --help
    int (*run)(Invocation&);
};

// Exit statuses shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitUsage = 64;

// Parses the global options and runs the named command.
int run(int argc, const char* const argv[], std::ostream& out, std::ostream& err);

}  // namespace q30x::cli
