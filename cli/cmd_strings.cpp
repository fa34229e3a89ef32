#include <charconv>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/session.h"
#include "i18n/language_choice.h"
#include "platform/utf16.h"

namespace q30x::cli {
namespace {

// One entry per line: the characters that would break the line layout are escaped.
std::string escaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') out += "\\n", ++i;
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

bool parseNumber(const std::string& word, int32_t& number) {
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
    return error == std::errc() && end == word.data() + word.size();
}

int runStrings(Invocation& call) {
    int32_t number = 0;
    if (call.args.size() > 1 || (call.args.size() == 1 && !parseNumber(call.args[0], number))) {
        call.err << "usage: q30xctl strings [N]\n";
        return kExitUsage;
    }
    Session session(call);
    if (!session.languageOptionValid()) return kExitUsage;
    if (call.args.empty() && call.has("language")) number = std::stoi(call.options["language"]);
    else if (call.args.empty()) number = readLanguageChoice(session.folders, session.messages);
    LanguageContext context{session.folders, session.messages, session.language, session.strings};
    const Language* language = loadLanguage(context, number);
    if (!language) {
        call.err << "q30xctl: there is no language " << number << " (the languages are 1 to 12)\n";
        return call.args.empty() ? kExitBadInput : kExitUsage;
    }
    const std::string path = joinPath(session.folders.program, std::string(language->file));
    const XmlDocument& document = session.strings.document();
    if (document.fileError() != FileError::None) {
        call.err << "q30xctl: cannot read " << path
                 << (document.fileError() == FileError::NotFound ? ": no such file" : "") << "\n";
        return kExitBadInput;
    }
    bool complete = document.wellFormed();
    for (std::size_t i = 0; i < kCatalogueKeys.size(); ++i)
        call.out << kCatalogueKeys[i] << '\t' << escaped(toUtf8(session.strings.entry(i))) << '\n';
    for (std::size_t i = 0; i < kCatalogueKeys.size(); ++i) {
        if (session.strings.found(i)) continue;
        call.err << "q30xctl: " << path << ": missing " << kCatalogueKeys[i] << "\n";
        complete = false;
    }
    if (!document.wellFormed()) call.err << "q30xctl: " << path << " is not well formed: " << document.result() << "\n";
    return complete ? kExitOk : kExitBadInput;
}

}  // namespace

const Command kStringsCommand = {
    "strings", "[N]", "print the 114 texts of language N (default: the chosen one)",
    "Loads the language file of language N (1 Chinese, 2 English, 3 French,\n"
    "4 Korean, 5 German, 6 Italian, 7 Spanish, 8 Dutch, 9 Portuguese,\n"
    "10 Russian, 11 Ukrainian, 12 Trad. Chinese; default: --language, else\n"
    "the number in Language.cfg) as the program does and prints its entries in load order,\n"
    "one per line as KEY<TAB>TEXT, with \\, tab and line breaks written as\n"
    "\\\\, \\t and \\n. Keys the file lacks, and a file that is not well formed,\n"
    "are reported on standard error with exit status 2.",
    runStrings};

}  // namespace q30x::cli
