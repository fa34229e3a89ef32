#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

#include "tests/cli/cli_fixture.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using Result = test::CliResult;
using test::runCli;

using test::VirtualEnvironment;

const char* const kMouseLine = "mouse: virtual/vendor (report id 6, report length 8)\n";

TEST(InfoCommand, PrintsTheFramesAndTheVersion) {
    VirtualEnvironment env(nullptr);
    Result r = runCli({"--virtual-mouse", "--no-delays", "--trace", "-", "info"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, std::string(kMouseLine) +
                         "SET_FEATURE 06 80 00 00 00 00 00 00 00\n"
                         "SLEEP 50\n"
                         "GET_FEATURE 06 80 01 02 00 00 00 00 00\n"
                         "firmware version: V 0.1.2\n");
}

TEST(InfoCommand, VersionsAsTheSupportPageShowsThem) {
    struct Case {
        const char* fail;
        const char* firmware;
        const char* shown;
        const char* err;
    };
    const Case cases[] = {
        {nullptr, "7", "firmware version: V 0.0.7\n", ""},
        {nullptr, "0", "firmware version: Unknown\n", ""},
        {"80", nullptr, "firmware version: Unknown\n", "q30xctl: the mouse gave no firmware version\n"},
    };
    for (const auto& c : cases) {
        VirtualEnvironment env(c.fail, c.firmware);
        Result r = runCli({"--virtual-mouse", "--no-delays", "info"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, std::string(kMouseLine) + c.shown);
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(InfoCommand, NoMouseAfterTenAttempts) {
    VirtualEnvironment env("open");
    test::TempFolder temp;
    Result r = runCli({"--virtual-mouse", "--no-delays", "--trace", temp.file("trace.txt"), "info"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "The Q30X gaming mouse cannot be found.\n");
    std::string nine;
    for (int i = 0; i < 9; ++i) nine += "SLEEP 500\n";
    auto bytes = test::readAll(temp.file("trace.txt"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), nine);
}

TEST(ListCommand, ShowsEveryInterfaceAndWhy) {
    VirtualEnvironment env(nullptr, nullptr, "1");
    Result r = runCli({"--virtual-mouse", "list"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "virtual/decoy  3C1F:7E02  collection 0xFF01:0x0001\n  feature values: none\n  skipped: no feature value capabilities\n"
              "virtual/pointer  3C1F:7E02  collection 0x0001:0x0002\n  feature values: none\n  skipped: no feature value capabilities\n"
              "virtual/keyboard  3C1F:7E02  collection 0x0001:0x0006\n  feature values: none\n  skipped: no feature value capabilities\n"
              "virtual/vendor  3C1F:7E02  collection 0xFF01:0x0001\n"
              "  feature value: usage page 0xFF01, usage 0x0022, report id 6, report count 8, 8 bits\n"
              "  opened by the link: report id 6, report length 8\n");
}

TEST(DeviceOptions, MisuseIsRefused) {
    struct Case {
        std::vector<std::string> words;
        const char* fail;
        const char* err;
    };
    const Case cases[] = {
        {{"--no-delays", "info"}, nullptr, "--no-delays needs --virtual-mouse"},
        {{"--virtual-mouse", "info"}, "bogus", "Q30X_VIRTUAL_FAIL: cannot read 'bogus'"},
        {{"--virtual-mouse", "--trace", "/nonexistent/folder/trace", "info"}, nullptr, "cannot write the trace"},
        {{"--virtual-mouse", "list", "extra"}, nullptr, "usage: q30xctl list"},
        {{"--virtual-mouse", "info", "extra"}, nullptr, "usage: q30xctl info"},
    };
    for (const auto& c : cases) {
        VirtualEnvironment env(c.fail);
        Result r = runCli(c.words);
        EXPECT_EQ(r.status, 64);
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace q30x

namespace q30x {
namespace {

// The inode of a file: an atomic save replaces it, so a new inode means "saved".
ino_t inodeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_ino;
}

class ApplyCommand : public ::testing::Test {
protected:
    std::string work() const { return temp.file("work"); }
    Result apply(std::vector<std::string> extra = {}) {
        std::vector<std::string> words{"--workdir", work(), "--virtual-mouse", "--no-delays"};
        words.insert(words.end(), extra.begin(), extra.end());
        words.push_back("apply");
        return runCli(words);
    }
    test::TempFolder temp;
};

TEST_F(ApplyCommand, WritesTheProfileAndSavesIt) {
    VirtualEnvironment env(nullptr);
    ASSERT_EQ(runCli({"--workdir", work(), "init"}).status, 0);
    const std::string profile = work() + "/Profile/Profile1.cfg", index = work() + "/Profile/ConfigInfo.cfg";
    ino_t profileBefore = inodeOf(profile), indexBefore = inodeOf(index);
    Result r = apply({"--trace", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    for (const char* line : {"progress 0%\n", "SET_FEATURE 06 12 01 00 40 00 00 00 00\n", "DESKTOP 4 0 0 0\n",
                             "DESKTOP 113 10\n", "DESKTOP 105 3\n", "progress 100%\nSLEEP 300\n",
                             "profile 1 applied and saved\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    EXPECT_NE(inodeOf(profile), profileBefore);
    EXPECT_NE(inodeOf(index), indexBefore);
}

TEST_F(ApplyCommand, AFailedStepSavesNothingAndTellsTheStep) {
    struct Case {
        const char* fail;
        int status;
        const char* text;
    };
    const Case cases[] = {{"12", 10, "write mousekey metix fail.\n"}, {"0c", 11, "Write mouse LED color failed.\n"},
                          {"0d", 12, "Write mouse effect failed.\n"}, {"03", 14, "Write mouse touch failed.\n"},
                          {"11:out", 15, "Write mouse DPI failed.\n"}};
    ASSERT_EQ(runCli({"--workdir", work(), "init"}).status, 0);
    const std::string profile = work() + "/Profile/Profile1.cfg";
    ino_t before = inodeOf(profile);
    for (const auto& c : cases) {
        VirtualEnvironment env(c.fail);
        Result r = apply();
        EXPECT_EQ(r.status, c.status) << c.fail;
        EXPECT_EQ(r.err, c.text) << c.fail;
        EXPECT_EQ(r.out.find("applied"), std::string::npos);
        EXPECT_EQ(inodeOf(profile), before) << c.fail;
    }
}

TEST_F(ApplyCommand, NoMouseNoApply) {
    VirtualEnvironment env("open");
    Result r = apply();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The Q30X gaming mouse cannot be found."), std::string::npos);
}

}  // namespace
}  // namespace q30x

#include <thread>

#include "app/input_source_choice.h"
#include "tests/support/xvfb.h"

namespace q30x {
namespace {

// Without event-device access (as here), the observe-only backend runs and
// says so; an intercept request is answered with the note, not pretended.
TEST(WatchCommand, ReportsTheInputBackendAndWhatTheHooksPost) {
    test::XvfbServer server;
    ASSERT_TRUE(server.running());
    Result result{};
    std::thread run([&] { result = runCli({"--intercept", "0x207", "watch", "1"}); });
    for (int i = 0; i < 6; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        test::fakeButton(2, true);
        test::fakeButton(2, false);
        test::fakeButton(3, true);
        test::fakeButton(3, false);
    }
    run.join();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("input: X11 raw events (observe only)\n", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("2027 input 0x207\n"), std::string::npos) << result.out;
    // The intercepted middle button is reported, never forwarded; the right one is both.
    EXPECT_EQ(result.out.find("1034 0x207 0x0\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("1034 0x208 0x0\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("2027 input 0x204\n1034 0x204 0x0\n1034 0x205 0x0\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.err, std::string("q30xctl: ") + kInterceptionUnavailableText + "\n");
}

TEST(WatchCommand, Misuse) {
    EXPECT_EQ(runCli({"watch", "0"}).status, 64);
    EXPECT_EQ(runCli({"--intercept", "zz", "watch", "1"}).status, 64);
}

}  // namespace
}  // namespace q30x
