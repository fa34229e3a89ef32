// q30xctl update check against a canned server on 127.0.0.1 and the virtual mouse.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "tests/cli/cli_fixture.h"
#include "tests/support/http_server.h"

namespace q30x {
namespace {

using namespace std::chrono_literals;
using test::CliResult;

// An update description holding `firmware`, answered after `delay`.
test::CannedResponse description(const std::string& firmware, std::chrono::milliseconds delay = 0ms) {
    test::CannedResponse response;
    response.body = "<?xml version=\"1.0\"?><update>" + firmware + "</update>";
    response.delay = delay;
    return response;
}

class UpdateCommand : public test::CliTest {
protected:
    ~UpdateCommand() override { ::unsetenv("Q30X_UPDATE_URL"); }
    CliResult check(const std::string& url) {
        ::setenv("Q30X_UPDATE_URL", url.c_str(), 1);
        return runIn({"--virtual-mouse", "--no-delays", "update", "check"});
    }
    std::string folder() const { return program() + "/FWUpdate/new_version"; }
    test::VirtualEnvironment mouse{nullptr};
    test::HttpServer server;
};

TEST_F(UpdateCommand, OneRoundTellsTheVersionsAndWhatTheProgramWouldDo) {
    const std::string image = server.url("/fw.bin");
    server.serve("/newer.xml", description("<firmware><current>13</current><newfile>" + image + "</newfile></firmware>"));
    server.serve("/same.xml", description("<firmware><current>12</current></firmware>"));
    server.serve("/empty.xml", description(""));
    server.serve("/slow.xml", description("<firmware><current>13</current></firmware>", 3000ms));
    const std::string refused = test::refusedUrl("/update.xml");
    const std::string installed = "installed firmware: 12 (V 0.1.2)\n";
    const std::string stored = " (stored in " + folder() + "/update.xml)\n";
    const std::string latest = "the program says: \"Firmware is the latest version.\"\n";
    const std::string unreachable = "the program says: \"The update server cannot be reached.\"\n";
    struct Case {
        std::string url;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {server.url("/newer.xml"), 0,
         installed + "update description: " + server.url("/newer.xml") + "\noffered firmware: 13" + stored +
             "firmware image: " + image +
             "\nthe program asks: \"A new version of firmware is available for the gaming mouse, whether to update "
             "or not?\"\non OK it downloads the image to " +
             folder() + "/TarvoGameDevice.bin, starts FWUpdate/ZazezaVI \"0\" and ends\n"},
        {server.url("/same.xml"), 0,
         installed + "update description: " + server.url("/same.xml") + "\noffered firmware: 12" + stored + latest},
        {server.url("/empty.xml"), 0,
         installed + "update description: " + server.url("/empty.xml") + "\noffered firmware: 0" + stored + latest},
        {server.url("/missing.xml"), 1,
         installed + "update description: " + server.url("/missing.xml") +
             "\noffered firmware: unknown (the server cannot be reached)\n" + unreachable},
        {refused, 1,
         installed + "update description: " + refused +
             "\noffered firmware: unknown (the server cannot be reached)\n" + unreachable},
        {server.url("/slow.xml"), 1,
         installed + "update description: " + server.url("/slow.xml") +
             "\noffered firmware: unknown (no answer within 2 seconds)\n" + unreachable},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(program() + "/FWUpdate");
        CliResult r = check(c.url);
        EXPECT_EQ(r.status, c.status) << c.url << r.err;
        EXPECT_EQ(r.out, c.out) << c.url;
        EXPECT_EQ(r.err, "") << c.url;
    }
    EXPECT_EQ(server.requests("/fw.bin"), 0) << "nothing is confirmed: no image is fetched";
}

TEST_F(UpdateCommand, ANewerDescriptionFromAnEarlierCheckAsksWithoutGoingOnline) {
    server.serve("/update.xml",
                 description("<firmware><current>13</current><newfile>" + server.url("/fw.bin") + "</newfile></firmware>"));
    ASSERT_EQ(check(server.url("/update.xml")).status, 0);
    CliResult r = check(server.url("/update.xml"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(server.requests("/update.xml"), 1);
    EXPECT_EQ(r.out, "installed firmware: 12 (V 0.1.2)\noffered firmware: 13 (kept by an earlier check in " + folder() +
                         "/update.xml; not asked online)\nfirmware image: " + server.url("/fw.bin") +
                         "\nthe program asks: \"A new version of firmware is available for the gaming mouse, whether "
                         "to update or not?\"\non OK it starts FWUpdate/ZazezaVI \"0\" with the image in " +
                         folder() + "/TarvoGameDevice.bin (there is none) and ends\n");
}

TEST_F(UpdateCommand, NoMouseNoCheck) {
    server.serve("/update.xml", description("<firmware><current>13</current></firmware>"));
    test::VirtualEnvironment noMouse("open");
    CliResult r = check(server.url("/update.xml"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The Q30X gaming mouse cannot be found.\n");
    EXPECT_EQ(server.requests("/update.xml"), 0);
    EXPECT_EQ(runIn({"update"}).status, 64);
    EXPECT_EQ(runIn({"update", "now"}).status, 64);
}

}  // namespace
}  // namespace q30x
