#include "cli/cli.h"

#include <cstring>
#include <ostream>

#include "cli/commands.h"

namespace q30x::cli {
namespace {

struct GlobalOption {
    const char* name;
    const char* value;  // nullptr for a flag
    const char* help;
};

constexpr GlobalOption kGlobalOptions[] = {
    {"workdir", "DIR", "working folder (default: $Q30X_WORKDIR, else ~/.config/TARVO/Q30X)"},
    {"program-dir", "DIR", "program folder with the default files (default: the folder of q30xctl)"},
    {"language", "N", "interface language 1..12 (default: the working folder's Language.cfg)"},
    {"virtual-mouse", nullptr, "talk to the built-in virtual Q30X (also Q30X_VIRTUAL_MOUSE=1)"},
    {"trace", "FILE|-", "write every HID transfer and pause to FILE, - for standard output"},
    {"intercept", "CODES", "with watch, intercept these input codes (hex, comma-separated)"},
    {"desktop", nullptr, "with --virtual-mouse, still apply the pointer settings to this desktop"},
    {"no-delays", nullptr, "skip the real waiting of every pause (virtual mouse only)"},
};

void printOverview(std::ostream& out) {
    out << "usage: q30xctl [OPTIONS] COMMAND [ARGS]\n\n"
           "Configures the Q30X gaming mouse from the command line.\n\nOptions:\n";
    for (const auto& option : kGlobalOptions) {
        std::string word = std::string("--") + option.name + (option.value ? std::string(" ") + option.value : "");
        out << "  " << word << std::string(word.size() < 22 ? 22 - word.size() : 1, ' ') << option.help << "\n";
    }
    out << "  --help                this overview; COMMAND --help for a command\n\nCommands:\n";
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

const GlobalOption* findOption(const std::string& name) {
    for (const auto& option : kGlobalOptions)
        if (name == option.name) return &option;
    return nullptr;
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
    Invocation invocation{out, err, {}, {}};
    const Command* command = nullptr;
    bool help = false;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            help = true;
        } else if (word.rfind("--", 0) == 0 && word.size() > 2) {
            std::string name = word.substr(2), value;
            if (auto eq = name.find('='); eq != std::string::npos) {
                value = name.substr(eq + 1);
                name.resize(eq);
            }
            const GlobalOption* option = findOption(name);
            if (!option) {
                err << "q30xctl: unknown option --" << name << " (see q30xctl --help)\n";
                return kExitUsage;
            }
            if (option->value && word.find('=') == std::string::npos) {
                if (i + 1 >= argc) {
                    err << "q30xctl: --" << name << " needs " << option->value << "\n";
                    return kExitUsage;
                }
                value = argv[++i];
            }
            invocation.options[name] = value;
        } else if (!command) {
            for (const auto& candidate : allCommands())
                if (word == candidate.name) command = &candidate;
            if (!command) {
                err << "q30xctl: unknown command '" << word << "' (see q30xctl --help)\n";
                return kExitUsage;
            }
        } else {
            invocation.args.push_back(word);
        }
    }
    if (!command) {
        printOverview(help ? out : err);
        return help ? kExitOk : kExitUsage;
    }
    if (help) {
        printCommandHelp(out, *command);
        return kExitOk;
    }
    return command->run(invocation);
}

}  // namespace q30x::cli
