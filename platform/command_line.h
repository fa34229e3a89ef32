#pragma once
#include <map>
#include <span>
#include <string>
#include <vector>

namespace q30x {

// One "--name VALUE" or "--name" option of a program.
struct CommandOption {
    const char* name;
    const char* value;  // placeholder of the value ("DIR"), nullptr for a flag
    const char* help;
};

struct ParsedCommandLine {
    std::map<std::string, std::string> options;  // by name; "" for a flag
    std::vector<std::string> words;              // everything that is not an option, in order
    bool help = false;                           // --help or -h was given
};

// Options may stand anywhere, as "--name VALUE" or "--name=VALUE". False,
// with `error` naming the option, for an unknown one or a missing value.
bool parseCommandLine(int argc, const char* const argv[], std::span<const CommandOption> known, ParsedCommandLine& parsed,
                      std::string& error);

// The option table as help lines: "  --name VALUE   help".
std::string optionHelp(std::span<const CommandOption> known);

}  // namespace q30x
