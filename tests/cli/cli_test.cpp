#include "tests/cli/run_cli.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

#include "settings/default_files.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using test::readAll;
using test::writeAll;

using Result = test::CliResult;
using test::runCli;

class CliTest : public ::testing::Test {
protected:
    CliTest() {
        Result r = runCli({"defaults", program()});
        EXPECT_EQ(r.status, 0) << r.err;
    }
    std::string program() const { return temp.file("program"); }
    std::string work() const { return temp.file("work"); }
    Result runIn(std::vector<std::string> words) {
        words.insert(words.begin(), {"--program-dir", program(), "--workdir", work()});
        return runCli(words);
    }
    test::TempFolder temp;
};

TEST_F(CliTest, DefaultsWritesTheNineFiles) {
    for (const auto& file : factoryDefaultFiles()) EXPECT_EQ(readAll(program() + "/" + file.name), file.bytes) << file.name;
}

TEST_F(CliTest, InitSeedsAndLoads) {
    Result r = runIn({"init"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "working folder " + work() + ": profile 1 is current\n");
    EXPECT_TRUE(std::filesystem::exists(work() + "/Profile/Profile5.cfg"));
}

TEST_F(CliTest, InitPrintsTheMessagesOnStandardError) {
    runIn({"init"});
    std::filesystem::remove(work() + "/Profile/ConfigInfo.cfg");
    Result r = runIn({"init"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Failed to open file, check whether there is a " + work() + "/Profile/ConfigInfo.cfg path?\n");
}

TEST_F(CliTest, ShowPrintsEveryFieldOfTheCurrentProfile) {
    Result r = runIn({"show"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line : {"current profile: 1 (", "magic: 0x80800265\n", "button 0 (left):\n",
                             "  functionType: 1 (Click)\n", "  label: \"Click\"\n", "button 6 (wheel backward):\n",
                             "  functionType: 22 (Scroll down)\n", "dpiLevels: 750 1250 1500 2000 2500 3500 4000 0 0 0 0 0 0 0\n",
                             "reportInterval: 1 (1000 Hz)\n", "ledColour: #FF0000 #FF0000 #FF0000 #FF0000\n",
                             "ledColourIsCustom: 1 1 1 1\n", "wheelScrollLines: 3\n", "heightSetting: 15\n",
                             "symphonySpeed: 4\n", "  targetPath: \"\"\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

TEST_F(CliTest, ShowRefusesAFileThatIsNotAProfile) {
    writeAll(temp.file("junk.cfg"), std::vector<uint8_t>(22252, 1));
    Result r = runIn({"show", temp.file("junk.cfg")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("is not a Q30X profile"), std::string::npos);
    EXPECT_EQ(runIn({"show", temp.file("absent.cfg")}).status, 2);
}

TEST_F(CliTest, ShowReadsAProfileFile) {
    Result r = runIn({"show", program() + "/Profile/Profile3.cfg"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("profile file: " + program() + "/Profile/Profile3.cfg\n"), std::string::npos);
}

TEST(Cli, HelpAndUsageErrors) {
    struct Case {
        std::vector<std::string> words;
        int status;
        const char* inOut;
        const char* inErr;
    };
    const Case cases[] = {
        {{"--help"}, 0, "Commands:", ""},
        {{}, 64, "", "usage: q30xctl"},
        {{"show", "--help"}, 0, "usage: q30xctl [OPTIONS] show [FILE]", ""},
        {{"bogus"}, 64, "", "unknown command 'bogus'"},
        {{"--nope", "init"}, 64, "", "unknown option --nope"},
        {{"init", "--workdir"}, 64, "", "--workdir needs DIR"},
        {{"defaults"}, 64, "", "usage: q30xctl defaults DIR"},
    };
    for (const auto& c : cases) {
        Result r = runCli(c.words);
        EXPECT_EQ(r.status, c.status) << c.words.size();
        EXPECT_NE(r.out.find(c.inOut), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace q30x
