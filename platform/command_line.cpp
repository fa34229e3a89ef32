#include "platform/command_line.h"

namespace q30x {

bool parseCommandLine(int argc, const char* const argv[], std::span<const OptionSpec> specs, ParsedCommandLine& parsed,
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
        const OptionSpec* spec = nullptr;
        for (const auto& candidate : specs)
            if (name == candidate.name) spec = &candidate;
        if (!spec) {
            error = "unknown option --" + name;
            return false;
        }
        if (spec->value && !inline_value) {
            if (i + 1 >= argc) {
                error = "--" + name + " needs " + spec->value;
                return false;
            }
            value = argv[++i];
        }
        parsed.options[name] = value;
    }
    return true;
}

std::string optionHelp(std::span<const OptionSpec> specs) {
    std::string text;
    for (const auto& spec : specs) {
        std::string word = std::string("--") + spec.name + (spec.value ? std::string(" ") + spec.value : "");
        text += "  " + word + std::string(word.size() < 22 ? 22 - word.size() : 1, ' ') + spec.help + "\n";
    }
    return text;
}

}  // namespace q30x
