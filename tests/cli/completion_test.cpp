// The bash completion of q30xctl, sourced into a real bash and asked as
// bash asks it: COMP_WORDS as bash splits the line, then the function.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <gtest/gtest.h>

#include "buttons/function_names.h"
#include "cli/commands.h"
#include "cli/setting_words.h"
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
        {{"set", "lighting", "=", "s"}, {"steady", "spectrum"}},
        {{"set", "button.back", "=", "Volume\\ u"}, {"Volume\\ up"}},
        {{"set", "button.back", "=", "S"}, {"Show\\ desktop", "Switch\\ applications", "Search", "Stop", "SNIPE"}},
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

// The completion keeps its own lists: each must hold what the commands take.
TEST_F(Completion, OffersEveryCommandSettingLightingWordAndBasicFunction) {
    auto offers = [](const std::vector<std::string>& replies, const std::string& word) {
        return std::find(replies.begin(), replies.end(), word) != replies.end();
    };
    const std::vector<std::string> commands = complete({""});
    for (const cli::Command& command : cli::allCommands()) EXPECT_TRUE(offers(commands, command.name)) << command.name;
    const std::vector<std::string> settings = complete({"set", ""});
    const std::vector<std::string> modes = complete({"set", "lighting", "=", ""});
    for (const cli::SettingWord& setting : cli::settingWords()) {
        EXPECT_TRUE(offers(settings, setting.name + "=")) << setting.name;
        if (setting.name != "lighting") continue;
        std::stringstream values(setting.values);
        std::vector<std::string> taken;
        for (std::string mode; std::getline(values, mode, '|');) taken.push_back(mode);
        EXPECT_EQ(modes, taken);
    }
    const std::vector<std::string> functions = complete({"set", "button.middle", "=", ""});
    for (const BasicFunction& function : kBasicFunctions) {
        std::string escaped;
        for (char c : toUtf8(functionName(function.type, 0))) escaped += c == ' ' ? "\\ " : std::string(1, c);
        EXPECT_TRUE(offers(functions, escaped)) << escaped;
    }
    for (const char* form : {"disabled", "default", "combo:", "macro:", "sound:", "program:", "file:", "folder:"})
        EXPECT_TRUE(offers(functions, form)) << form;
}

TEST_F(Completion, NothingOnTheLineIsEvaluated) {
    const std::string marker = temp.file("evaluated");
    for (const std::string& folder : {temp.file("w$(touch " + marker + ")"), temp.file("w`touch " + marker + "`")}) {
        std::filesystem::create_directories(folder);
        complete({"--workdir", folder, "macro", "delete", ""});
        complete({"--workdir", folder, "set", "button.left", "=", "macro", ":", ""});
    }
    EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST_F(Completion, AWorkingFolderThatIsNotThereIsNotMade) {
    EXPECT_TRUE(complete({"--workdir", temp.file("absent"), "macro", "show", ""}).empty());
    EXPECT_TRUE(complete({"--workdir", "=", temp.file("absent"), "macro", "show", ""}).empty());
    EXPECT_FALSE(std::filesystem::exists(temp.file("absent")));
}

}  // namespace
}  // namespace q30x
