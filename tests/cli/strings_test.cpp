#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/cli.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using test::textBytes;

struct Outcome {
    int status;
    std::string out, err;
};

class StringsCommand : public ::testing::Test {
protected:
    Outcome run(std::vector<std::string> words) {
        words.insert(words.begin(), {"q30xctl", "--program-dir", temp.file("program"), "--workdir", temp.file("work")});
        std::vector<const char*> argv;
        for (const auto& w : words) argv.push_back(w.c_str());
        std::ostringstream out, err;
        int status = cli::run(static_cast<int>(argv.size()), argv.data(), out, err);
        return {status, out.str(), err.str()};
    }
    void language(const std::string& file, const std::string& config) {
        test::writeAll(temp.file("program/Language/" + file), textBytes("<l><config>" + config + "</config></l>"));
    }
    test::TempFolder temp;
};

TEST_F(StringsCommand, PrintsEveryKeyInLoadOrderWithEscapes) {
    language("fre.xml", "<str_main>a\\b\tc\r\nd\ne</str_main><str_msg2>%s introuvable</str_msg2>");
    Outcome r = run({"strings", "3"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out.rfind("str_main\ta\\\\b\\tc\\nd\\ne\nstr_led_title\t\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\nstr_msg2\t%s introuvable\n"), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 114);
    EXPECT_NE(r.err.find("program/Language/fre.xml: missing str_led_title\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("missing str_main"), std::string::npos);
    EXPECT_EQ(r.err.find("missing str_msg2"), std::string::npos);
}

TEST_F(StringsCommand, DefaultsToTheStoredLanguage) {
    language("ukr.xml", "<str_main>Основне</str_main>");
    test::writeAll(temp.file("work/Language.cfg"), {11, 0, 0, 0});
    Outcome r = run({"strings"});
    EXPECT_EQ(r.out.rfind("str_main\tОсновне\n", 0), 0u) << r.out;
    EXPECT_EQ(test::readAll(temp.file("work/Language.cfg")), (std::vector<uint8_t>{11, 0, 0, 0}));
    // --language stands for this run only.
    language("rus.xml", "<str_main>Основное</str_main>");
    r = run({"--language", "10", "strings"});
    EXPECT_EQ(r.out.rfind("str_main\tОсновное\n", 0), 0u) << r.out;
}

TEST_F(StringsCommand, Failures) {
    struct Case {
        std::vector<std::string> words;
        int status;
        const char* err;
    };
    const Case cases[] = {
        {{"strings", "13"}, 64, "there is no language 13"},
        {{"strings", "two"}, 64, "usage: q30xctl strings [N]"},
        {{"strings", "1", "2"}, 64, "usage: q30xctl strings [N]"},
        {{"strings", "2"}, 2, "cannot read"},
        {{"--language", "0", "strings"}, 64, "--language needs a language number 1..12, not '0'"},
    };
    for (const auto& c : cases) {
        Outcome r = run(c.words);
        EXPECT_EQ(r.status, c.status) << c.words.back();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    // No Language.cfg: the missing-file message, then language 1 as the program does.
    language("sc.xml", "<str_main>性能</str_main>");
    Outcome r = run({"strings"});
    EXPECT_NE(r.err.find("Failed to open file, check whether there is a"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.rfind("str_main\t性能\n", 0), 0u);
}

// The other commands start with the same language step.
TEST_F(StringsCommand, ShowUsesTheStoredLanguageOrTheOption) {
    ASSERT_EQ(run({"defaults", temp.file("program")}).status, 0);
    ASSERT_EQ(run({"init"}).status, 0);
    test::writeAll(temp.file("work/Language.cfg"), {1, 0, 0, 0});
    EXPECT_NE(run({"show"}).out.find("  functionType: 1 (单击)\n"), std::string::npos);
    EXPECT_NE(run({"--language", "12", "show"}).out.find("  functionType: 1 (Click)\n"), std::string::npos);
    EXPECT_EQ(test::readAll(temp.file("work/Language.cfg")), (std::vector<uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(run({"--language", "13", "init"}).status, 64);
}

}  // namespace
}  // namespace q30x
