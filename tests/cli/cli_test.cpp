#include "tests/cli/cli_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "settings/default_files.h"
#include "tests/support/bytes.h"

namespace q30x {
namespace {

using test::readAll;
using test::writeAll;

using Result = test::CliResult;
using test::runCli;

using test::CliTest;

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


class MacroCommandTest : public CliTest {
protected:
    MacroCommandTest() {
        runIn({"init"});
        test::MacroFileImage()
            .put(0, 0x15012345, u"Jump", {0xC0000041, 0xA0000032, 0xE0000041, 0xA00007D0, 0xC0000042, 0xE0000042}, 1)
            .put(2, 0x03000001, u"Spray", {0xC0000001, 0xA0000064, 0xE0000001}, 5)
            .write(work() + "/Macro.cfg");
    }
};

TEST_F(MacroCommandTest, ListPrintsEveryMacroOrOneGroup) {
    Result all = runIn({"macro", "list"});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out,
              "ID          GROUP                               EVENTS   LOOPS  NAME\n"
              "0x15012345  21 Customisze                            6      1  \"Jump\"\n"
              "0x03000001  3 Counter-Strike: Global Offensive       3      5  \"Spray\"\n");
    Result group = runIn({"macro", "list", "customize"});
    EXPECT_EQ(group.out.find("Spray"), std::string::npos);
    EXPECT_NE(group.out.find("Jump"), std::string::npos);
    EXPECT_NE(runIn({"macro", "list", "20"}).out.find("no macros in group 20 War Thunder"), std::string::npos);
    EXPECT_EQ(runIn({"macro", "list", "22"}).status, 2);
    EXPECT_EQ(runIn({"macro", "list", "Chess"}).status, 2);
}

TEST_F(MacroCommandTest, ShowPrintsTheRowsAndThePayloadOfTheLanguagesTable) {
    Result us = runIn({"macro", "show", "15012345"});
    EXPECT_EQ(us.status, 0) << us.err;
    EXPECT_NE(us.out.find("     2  delay     50  ms\n     3  key up    A\n"), std::string::npos) << us.out;
    EXPECT_NE(us.out.find("payload (US key table): 7 words\n  000: 00 01 06 04 81 04 00 01 00 64 01 05 81 05\n"),
              std::string::npos)
        << us.out;
    Result french = runIn({"--language", "3", "macro", "show", "0x15012345"});
    EXPECT_NE(french.out.find("payload (French key table): 7 words\n  000: 00 01 06 14 81 14 00 01 00 64 01 05 81 05\n"),
              std::string::npos)
        << french.out;
    Result mouse = runIn({"macro", "show", "0x03000001"});
    EXPECT_NE(mouse.out.find("     1  key down  Left Button\n"), std::string::npos) << mouse.out;
    EXPECT_EQ(runIn({"macro", "show", "0x15000000"}).status, 2);
    EXPECT_EQ(runIn({"macro", "show", "xyz"}).status, 2);
    EXPECT_EQ(runIn({"--language", "0", "macro", "show", "15012345"}).status, 64);
    EXPECT_EQ(runIn({"macro"}).status, 64);
}

TEST_F(MacroCommandTest, MissingMacroFileIsReportedAndListsNothing) {
    std::filesystem::remove(work() + "/Macro.cfg");
    Result r = runIn({"macro", "list"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find(work() + "/Macro.cfg"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("no macros"), std::string::npos);
}

}  // namespace
}  // namespace q30x
