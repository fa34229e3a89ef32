#include "cli/cli.h"

#include <cstring>
#include <ostream>

#include "cli/commands.h"
#include "platform/command_line.h"

namespace q30x::cli {
namespace {

constexpr CommandOption kGlobalOptions[] = {
    {"workdir", "DIR", "working folder (default: $Q30X_WORKDIR, else ~/.config/TARVO/Q30X)"},
    {"program-dir", "DIR", "program folder with the default files (default: the folder of q30xctl)"},
    {"language", "N", "interface language 1..12 (default: the working folder's Language.cfg)"},
    {"virtual-mouse", nullptr, "talk to the built-in virtual Q30X (also Q30X_VIRTUAL_MOUSE=1)"},
    {"trace", "FILE|-", "write every HID transfer and pause to FILE, - for standard output"},
    {"intercept", "CODES", "with watch, intercept these input codes (hex, comma-separated)"},
    {"desktop", nullptr, "with --virtual-mouse, still apply the pointer settings to this desktop"},
    {"no-delays", nullptr, "skip the real waiting of every pause (virtual mouse only)"},
    {"json", nullptr, "print JSON where a command offers it (its --help gives the shape)"},
    {"loops", "N", "with macro new and macro set: the loop count, 1..65533"},
};

// Options that belong to some commands only: a command takes one when its
// usage line names it, so the help and the check cannot disagree.
constexpr const char* kCommandBoundOptions[] = {"json", "loops"};

bool takesOption(const Command& command, const std::string& option) {
    return std::strstr(command.usage, ("--" + option).c_str()) != nullptr;
}

void printOverview(std::ostream& out) {
    out << "usage: q30xctl [OPTIONS] COMMAND [ARGS]\n\n"
           "Configures the Q30X gaming mouse from the command line.\n\nOptions:\n"
        << optionHelp(kGlobalOptions)
        << "  --help                this overview; COMMAND --help for a command\n\nCommands:\n";
    for (const auto& command : allCommands()) {
        std::string word = command.name;
        out << "  " << word << std::string(word.size() < 22 ? 22 - word.size() : 1, ' ') << command.summary << "\n";
    }
}

void printCommandHelp(std::ostream& out, const Command& command) {
    out << "usage: q30xctl [OPTIONS] " << command.name << (*command.usage ? " " : "") << command.usage << "\n\n"
        << command.summary << "\n";
    if (*command.help) out << "\n" << command.help << "\n";
}

}  // namespace

Folders Invocation::folders() const {
    Folders folders;
    auto program = options.find("program-dir");
    folders.program = program != options.end() ? program->second : executableFolder();
    auto work = options.find("workdir");
    folders.working = work != options.end() ? work->second : defaultWorkingFolder();
    return folders;
}

int run(int argc, const char* const argv[], std::ostream& out, std::ostream& err) {
    ParsedCommandLine parsed;
    std::string error;
    if (!parseCommandLine(argc, argv, kGlobalOptions, parsed, error)) {
        err << "q30xctl: " << error << (error.rfind("unknown", 0) == 0 ? " (see q30xctl --help)" : "") << "\n";
        return kExitUsage;
    }
    if (parsed.words.empty()) {
        printOverview(parsed.help ? out : err);
        return parsed.help ? kExitOk : kExitUsage;
    }
    const Command* command = nullptr;
    for (const auto& candidate : allCommands())
        if (parsed.words[0] == candidate.name) command = &candidate;
    if (!command) {
        err << "q30xctl: unknown command '" << parsed.words[0] << "' (see q30xctl --help)\n";
        return kExitUsage;
    }
    if (parsed.help) {
        printCommandHelp(out, *command);
        return kExitOk;
    }
    for (const char* option : kCommandBoundOptions)
        if (parsed.options.count(option) && !takesOption(*command, option)) {
            err << "q30xctl: " << command->name << " takes no --" << option << " (see q30xctl " << command->name
                << " --help)\n";
            return kExitUsage;
        }
    Invocation invocation{out, err, std::move(parsed.options), {parsed.words.begin() + 1, parsed.words.end()}};
    return command->run(invocation);
}

}  // namespace q30x::cli
