#include "platform/command_line.h"

namespace q30x {

bool parseCommandLine(int argc, const char* const argv[], std::span<const CommandOption> known, ParsedCommandLine& parsed,
                      std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            parsed.help = true;
            continue;
        }
        if (word.rfind("--", 0) != 0 || word.size() <= 2) {
            parsed.words.push_back(word);
            continue;
        }
        std::string name = word.substr(2), value;
        const bool inline_value = name.find('=') != std::string::npos;
        if (inline_value) {
            value = name.substr(name.find('=') + 1);
            name.resize(name.find('='));
        }
        const CommandOption* option = nullptr;
        for (const auto& candidate : known)
            if (name == candidate.name) option = &candidate;
        if (!option) {
            error = "unknown option --" + name;
            return false;
        }
        if (option->value && !inline_value) {
            if (i + 1 >= argc) {
                error = "--" + name + " needs " + option->value;
                return false;
            }
            value = argv[++i];
        }
        parsed.options[name] = value;
    }
    return true;
}

std::string optionHelp(std::span<const CommandOption> known) {
    std::string text;
    for (const auto& option : known) {
        std::string word = std::string("--") + option.name + (option.value ? std::string(" ") + option.value : "");
        text += "  " + word + std::string(word.size() < 22 ? 22 - word.size() : 1, ' ') + option.help + "\n";
    }
    return text;
}

}  // namespace q30x
