// The bash completion of q30xctl, sourced into a real bash and asked as
// bash asks it: COMP_WORDS as bash splits the line, then the function.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "buttons/function_names.h"
#include "cli/commands.h"
#include "platform/utf16.h"
#include "tests/cli/cli_fixture.h"
#include "tests/support/bytes.h"
#include "tests/support/program_process.h"

namespace q30x {
namespace {

const std::string kScript = std::string(Q30X_SOURCE_DIR) + "/data/completion/q30xctl";
const std::string kProgram = std::string(Q30X_TEST_PROGRAM_DIR) + "/q30xctl";

std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class Completion : public test::CliTest {
protected:
    Completion() {
        runIn({"init"});
        test::MacroFileImage()
            .put(0, 0x15012345, u"M", {0xC0000041}, 1)
            .put(2, 0x03ABCDEF, u"M", {0xC0000041}, 1)
            .write(work() + "/Macro.cfg");
        test::writeAll(temp.file("driver.sh"), test::textBytes(
            "source \"$1\"\nprogram=$2\nshift 2\nCOMP_WORDS=(\"$@\")\nCOMP_CWORD=$(($# - 1))\n"
            "_q30xctl \"$program\" \"${COMP_WORDS[COMP_CWORD]}\" \"${COMP_WORDS[COMP_CWORD - 1]}\"\n"
            "printf '%s\\n' \"${COMPREPLY[@]}\"\n"));
    }

    // The replies for the line split into `words`, the last being completed.
    std::vector<std::string> complete(std::vector<std::string> words) {
        words.insert(words.begin(), {temp.file("driver.sh"), kScript, kProgram, "q30xctl"});
        test::ProgramProcess bash("/bin/bash", words, {}, temp.file("replies"));
        EXPECT_EQ(bash.waitForExit(20000), 0);
        std::vector<std::string> replies = linesOf(temp.file("replies"));
        if (replies == std::vector<std::string>{""}) replies.clear();
        return replies;
    }
};

TEST_F(Completion, TheScriptIsValidBash) {
    test::ProgramProcess check("/bin/bash", {"-n", kScript}, {}, temp.file("check"));
    EXPECT_EQ(check.waitForExit(10000), 0);
}

TEST_F(Completion, WordsOfEachPlace) {
    using Words = std::vector<std::string>;
    struct Case {
        Words line;
        Words replies;
    };
    const std::string w = work();
    const Case cases[] = {
        {{"st"}, {"strings", "stats"}},
        {{"--js"}, {"--json"}},
        {{"--workdir", w, "macro", ""}, {"list", "show", "new", "rename", "delete", "set"}},
        {{"--workdir", w, "macro", "delete", ""}, {"0x15012345", "0x03ABCDEF"}},
        {{"--workdir", "=", w, "macro", "set", "0x0"}, {"0x03ABCDEF"}},
        {{"--workdir", w, "set", "button.left", "=", "macro", ":", ""}, {"0x15012345", "0x03ABCDEF"}},
        {{"macro", "new", "2"}, {"2", "20", "21"}},
        {{"set", "li"}, {"lighting="}},
        {{"set", "cycle-c"}, {"cycle-custom=", "cycle-colour1=", "cycle-colour2=", "cycle-colour3="}},
        {{"set", "lighting", "=", ""}, {"steady", "breathing", "apm", "spectrum", "cycle", "off"}},
        {{"set", "button.back", "=", "Scroll\\ u"}, {"Scroll\\ up"}},
        {{"set", "button.back", "=", "S"}, {"Scroll\\ up", "Scroll\\ down", "Stop", "Show\\ desktop",
                                             "Switch\\ applications", "Search", "SNIPE"}},
        {{"set", "proximity", "=", ""}, {"on", "off"}},
        {{"set", "rate", "=", "1"}, {"125", "1000"}},
        {{"stats", ""}, {"reset"}},
        {{"update", ""}, {"check"}},
        {{"profile", ""}, {"1", "2", "3", "4", "5"}},
        {{"--language", "1"}, {"1", "10", "11", "12"}},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const auto& word : c.line) line += word + " ";
        EXPECT_EQ(complete(c.line), c.replies) << line;
    }
}

TEST_F(Completion, EveryCommandAndEveryFunctionNameIsOffered) {
    const std::vector<std::string> commands = complete({""});
    for (const cli::Command& command : cli::allCommands())
        EXPECT_NE(std::find(commands.begin(), commands.end(), command.name), commands.end()) << command.name;
    const std::vector<std::string> functions = complete({"set", "button.middle", "=", ""});
    for (const FunctionName& function : kFunctionNames) {
        std::string escaped;
        for (char c : toUtf8(function.english)) escaped += c == ' ' ? "\\ " : std::string(1, c);
        EXPECT_NE(std::find(functions.begin(), functions.end(), escaped), functions.end()) << escaped;
    }
}

TEST_F(Completion, NothingOnTheLineIsEvaluated) {
    const std::string marker = temp.file("evaluated");
    const std::string hostile = "$(touch " + marker + ")";
    complete({"--workdir", hostile, "macro", "delete", ""});
    complete({"--workdir", "`touch " + marker + "`", "set", "button.left", "=", "macro", ":", ""});
    EXPECT_FALSE(std::filesystem::exists(marker));
}

}  // namespace
}  // namespace q30x
