#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "device/presence.h"
#include "firmware/update_check.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "tests/support/http_server.h"
#include "tests/support/queued_update_page.h"
#include "tests/support/recording_launcher.h"
#include "tests/support/recording_target.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using namespace std::chrono_literals;

std::string description(const std::string& current, const std::string& newfile = "") {
    return "<?xml version=\"1.0\"?><update><firmware><current>" + current + "</current><newfile>" + newfile +
           "</newfile></firmware></update>";
}

class UpdateTest : public ::testing::Test {
protected:
    UpdateTest() { server.serve("/update.xml", {200, description("12"), {}, {}, false}); }

    UpdateCheck& check() {
        if (!check_) {
            check_ = std::make_unique<UpdateCheck>(
                UpdateServices{*downloader, launcher, messages, mainWindow, folders, language}, page, url,
                chooseUpdateFolder(folders.program, cache.path()));
            check_->start();
        }
        return *check_;
    }
    // One answer of the thread, handled as the window's thread handles it.
    void deliver() {
        const std::optional<test::QueuedUpdatePage::Posted> p = page.next(10s);
        ASSERT_TRUE(p) << "no answer within ten seconds";
        check().onAnswer(p->round, p->answer);
    }
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const auto& shown : messages.shown) texts.push_back(shown.text);
        return texts;
    }
    static std::string text(UpdateText which, bool chinese = false) { return toUtf8(updateText(which, chinese)); }
    std::string burner() const { return joinPath(folders.program, kBurnerProgram); }

    test::TempFolder program, cache;
    Folders folders{program.path(), program.path()};
    test::HttpServer server;
    std::string url = server.url("/update.xml");
    std::unique_ptr<Downloader> downloader = makeCurlDownloader();
    test::RecordingLauncher launcher;
    test::RecordedMessages messages;
    test::RecordingTarget mainWindow;
    LanguageState language{0, 0, 2};
    test::QueuedUpdatePage page;
    std::unique_ptr<UpdateCheck> check_;
};

TEST(VersionNumber, ReadsLikeWtoiAndComparesUnsigned) {
    const std::pair<std::u16string_view, uint32_t> cases[] = {
        {u"12", 12u},
        {u" \t\r\n12", 12u},
        {u"+7", 7u},
        {u"-5", 4294967291u},
        {u"12abc", 12u},
        {u"1 2", 1u},
        {u"abc", 0u},
        {u"", 0u},
        {u"-", 0u},
        {u"2147483647", 2147483647u},
        {u"99999999999", 2147483647u},
        {u"-99999999999", 2147483648u},
        {u"4294967295", 2147483647u},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(versionNumber(text), number) << toUtf8(text);
}

TEST(UpdateAddress, MakerHostUnlessOverridden) {
    EXPECT_EQ(updateDescriptionUrl(nullptr), "https://www.tarvo.com/software/q30X/update.xml");
    EXPECT_EQ(updateDescriptionUrl(""), "https://www.tarvo.com/software/q30X/update.xml");
    EXPECT_EQ(updateDescriptionUrl("http://127.0.0.1:9/u.xml"), "http://127.0.0.1:9/u.xml");
}

TEST(UpdateFolder, ProgramFolderWhenItTakesFilesElseTheCache) {
    test::TempFolder program, cache;
    EXPECT_EQ(chooseUpdateFolder(program.path(), cache.path()), program.path() + "/FWUpdate/new_version");
    EXPECT_TRUE(directoryExists(program.path() + "/FWUpdate/new_version"));
    // A program folder that cannot hold folders (here: a file in its place).
    test::writeAll(program.file("file"), {1});
    EXPECT_EQ(chooseUpdateFolder(program.file("file"), cache.path()), cache.path() + "/FWUpdate/new_version");
}

struct DescriptionCase {
    const char* name;
    std::string installed;
    std::string body;
    bool chinese;
    UpdateText shown;
};

TEST_F(UpdateTest, TheServersDescriptionDecidesBetweenTheQuestionAndLatest) {
    std::string deep = "<update><firmware>";
    for (int i = 0; i < 3000; ++i) deep += "<n>";
    for (int i = 0; i < 3000; ++i) deep += "</n>";
    deep += "<current>13</current></firmware></update>";
    const DescriptionCase cases[] = {
        {"same version", "12", description("12"), false, UpdateText::Latest},
        {"newer", "12", description("13"), false, UpdateText::Question},
        {"newer, Chinese", "12", description("13"), true, UpdateText::Question},
        {"same, Chinese", "12", description("12"), true, UpdateText::Latest},
        {"older", "12", description("11"), false, UpdateText::Latest},
        {"unknown installed", "", description("1"), false, UpdateText::Question},
        {"negative is huge unsigned", "12", description("-5"), false, UpdateText::Question},
        {"past the range", "12", description("99999999999"), false, UpdateText::Question},
        {"digits then letters", "12", description("12abc"), false, UpdateText::Latest},
        {"not XML", "12", "this is no description", false, UpdateText::Latest},
        {"no firmware element", "0", "<update><current>9</current></update>", false, UpdateText::Latest},
        {"deep nesting before the version", "12", deep, false, UpdateText::Question},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.serve("/update.xml", {200, c.body, {}, {}, false});
        language.chineseUi = c.chinese;
        messages.shown.clear();
        ASSERT_EQ(check().StartUpdateCheck(fromUtf8(c.installed)), 1);
        EXPECT_FALSE(check().idle());
        deliver();
        EXPECT_EQ(shownTexts(), std::vector<std::string>{text(c.shown, c.chinese)});
        EXPECT_TRUE(check().idle());
        EXPECT_TRUE(launcher.launched.empty());
        // The stored copy must not make the next case ask without going online.
        std::remove(check().descriptionPath().c_str());
    }
    EXPECT_EQ(page.timeouts, std::vector<uint32_t>(std::size(cases), 2000u));
}

TEST_F(UpdateTest, AcceptedUpdateDownloadsTheImageAndHandsOverToTheBurner) {
    for (const int chinese : {0, 1}) {
        SCOPED_TRACE(chinese);
        server.serve("/update.xml", {200, description("13", server.url("/fw.bin")), {}, {}, false});
        server.serve("/fw.bin", {200, std::string("IMAGE\0BYTES", 11), {}, {}, false});
        language.chineseUi = chinese;
        launcher.launched.clear();
        mainWindow.clear();
        messages.answer = true;
        ASSERT_EQ(check().StartUpdateCheck(u"12"), 1);
        deliver();  // the description: the question, then the image is fetched
        EXPECT_FALSE(check().idle());
        deliver();  // the image
        EXPECT_TRUE(check().idle());
        EXPECT_EQ(check().firmwareUrl(), server.url("/fw.bin"));
        EXPECT_EQ(check().imagePath(), program.path() + "/FWUpdate/new_version/TarvoGameDevice.bin");
        const auto image = test::readAll(check().imagePath());
        EXPECT_EQ(std::string(image.begin(), image.end()), std::string("IMAGE\0BYTES", 11));
        ASSERT_EQ(launcher.launched.size(), 1u);
        EXPECT_EQ(launcher.launched[0].first, burner());
        EXPECT_EQ(launcher.launched[0].second, std::vector<std::string>{chinese ? "1" : "0"});
        EXPECT_EQ(mainWindow.messages(), (std::vector<test::RecordingTarget::Message>{{msg::kClose, 0, 0, false}}));
        EXPECT_EQ(shownTexts(), std::vector<std::string>{text(UpdateText::Question, chinese)});
        messages.shown.clear();
        std::remove(check().descriptionPath().c_str());
    }
}

TEST_F(UpdateTest, DeclinedUpdateFetchesNothing) {
    server.serve("/update.xml", {200, description("13", server.url("/fw.bin")), {}, {}, false});
    messages.answer = false;
    check().StartUpdateCheck(u"12");
    deliver();
    EXPECT_TRUE(check().idle());
    EXPECT_EQ(server.requests("/fw.bin"), 0);
    EXPECT_TRUE(launcher.launched.empty());
}

TEST_F(UpdateTest, StoredNewerDescriptionAsksAtOnceWithoutGoingOnline) {
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept);
        createDirectories(program.path() + "/FWUpdate/new_version");
        const std::string stored = description("13");
        test::writeAll(program.path() + "/FWUpdate/new_version/update.xml", {stored.begin(), stored.end()});
        messages.answer = accept;
        EXPECT_EQ(check().StartUpdateCheck(u"12"), accept ? 1 : 0);
        EXPECT_TRUE(check().idle());
        EXPECT_EQ(shownTexts().back(), text(UpdateText::Question));
        EXPECT_EQ(launcher.launched.size(), accept ? 1u : 0u);
    }
    EXPECT_EQ(launcher.launched[0].second, std::vector<std::string>{"0"});
    EXPECT_EQ(server.requests("/update.xml"), 0);
    EXPECT_TRUE(page.timeouts.empty());
}

TEST_F(UpdateTest, TwoQuickPressesStartOneRound) {
    EXPECT_EQ(check().StartUpdateCheck(u"12"), 1);
    EXPECT_EQ(check().StartUpdateCheck(u"12"), 0);
    deliver();
    EXPECT_EQ(server.requests("/update.xml"), 1);
    EXPECT_EQ(page.timeouts.size(), 1u);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{text(UpdateText::Latest)});
    // Once answered, the button works again.
    EXPECT_EQ(check().StartUpdateCheck(u"12"), 1);
    deliver();
    EXPECT_EQ(server.requests("/update.xml"), 2);
}

TEST_F(UpdateTest, SlowServerTimesOutAndItsLateAnswerIsDropped) {
    server.serve("/slow.xml", {200, description("13"), {}, 20s, false});
    url = server.url("/slow.xml");
    ASSERT_EQ(check().StartUpdateCheck(u"12"), 1);
    ASSERT_TRUE(server.waitForRequests("/slow.xml", 1));
    check().onTimeout();  // timer 5
    EXPECT_TRUE(check().idle());
    EXPECT_EQ(shownTexts(), std::vector<std::string>{text(UpdateText::Unreachable)});
    const auto start = std::chrono::steady_clock::now();
    deliver();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << "the abandoned download was not cut short";
    EXPECT_EQ(shownTexts().size(), 1u);
    EXPECT_TRUE(launcher.launched.empty());
    EXPECT_FALSE(fileExists(check().descriptionPath()));
}

TEST_F(UpdateTest, TimeoutOfOneRoundDoesNotCancelTheNext) {
    server.serve("/slow.xml", {200, description("13"), {}, 20s, false});
    url = server.url("/slow.xml");
    check().StartUpdateCheck(u"12");
    ASSERT_TRUE(server.waitForRequests("/slow.xml", 1));
    check().onTimeout();
    server.serve("/slow.xml", {200, description("12"), {}, {}, false});
    ASSERT_EQ(check().StartUpdateCheck(u"12"), 1);
    deliver();  // the first round's, dropped
    EXPECT_FALSE(check().idle());
    deliver();  // the second round's
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{text(UpdateText::Unreachable), text(UpdateText::Latest)}));
    EXPECT_TRUE(check().idle());
}

TEST_F(UpdateTest, ServerFailuresAreReportedAsUnreachable) {
    server.serve("/missing.xml", {404, "gone", {}, {}, false});
    server.serve("/cut.xml", {200, description("13") + std::string(400, ' '), {}, {}, true});
    server.serve("/to-ftp.xml", {302, "", "ftp://127.0.0.1/update.xml", {}, false});
    server.serve("/to-file.xml", {302, "", "file:///etc/passwd", {}, false});
    server.serve("/huge.xml", {200, description("13") + std::string(70000, ' '), {}, {}, false});
    server.serve("/error.xml", {500, description("13"), {}, {}, false});
    const std::pair<const char*, std::string> cases[] = {
        {"404", server.url("/missing.xml")},
        {"server error", server.url("/error.xml")},
        {"refused", test::refusedUrl("/update.xml")},
        {"closed mid-body", server.url("/cut.xml")},
        {"redirect to ftp", server.url("/to-ftp.xml")},
        {"redirect to file", server.url("/to-file.xml")},
        {"too large", server.url("/huge.xml")},
        {"not http", "file:///etc/passwd"},
    };
    for (const auto& [name, address] : cases) {
        SCOPED_TRACE(name);
        check_.reset();
        url = address;
        messages.shown.clear();
        check().StartUpdateCheck(u"12");
        deliver();
        EXPECT_EQ(shownTexts(), std::vector<std::string>{text(UpdateText::Unreachable)});
        EXPECT_TRUE(check().idle());
        EXPECT_FALSE(fileExists(check().descriptionPath()));
    }
}

TEST_F(UpdateTest, ImageFromAnAddressOtherThanHttpIsRefused) {
    server.serve("/fw.bin", {404, "", {}, {}, false});
    const std::string cases[] = {"file:///etc/passwd", "ftp://127.0.0.1/fw.bin", "", server.url("/fw.bin"),
                                 "/etc/passwd"};
    messages.answer = true;
    for (const auto& newfile : cases) {
        SCOPED_TRACE(newfile);
        server.serve("/update.xml", {200, description("13", newfile), {}, {}, false});
        messages.shown.clear();
        check().StartUpdateCheck(u"12");
        deliver();
        deliver();
        EXPECT_EQ(shownTexts(), (std::vector<std::string>{text(UpdateText::Question), text(UpdateText::ImageFailed)}));
        EXPECT_TRUE(check().idle());
        EXPECT_FALSE(fileExists(check().imagePath()));
        std::remove(check().descriptionPath().c_str());
    }
    EXPECT_TRUE(launcher.launched.empty());
    EXPECT_TRUE(mainWindow.messages().empty());
}

TEST_F(UpdateTest, BurnerThatCannotStartIsToldAndTheProgramRunsOn) {
    // The real launcher, so a missing or non-executable burner really fails.
    auto system = makeSystemProgramLauncher();
    const UpdateServices services{*downloader, *system, messages, mainWindow, folders, language};
    UpdateCheck own(services, page, url, program.path());
    createDirectories(program.path() + "/FWUpdate");
    for (const bool present : {false, true}) {
        SCOPED_TRACE(present);
        if (present) {
            test::writeAll(burner(), {'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'});
            ::chmod(burner().c_str(), 0644);
        }
        messages.shown.clear();
        EXPECT_FALSE(own.LaunchBurner());
        EXPECT_EQ(shownTexts(), std::vector<std::string>{toUtf8(burnerFailureText(0))});
    }
    EXPECT_TRUE(mainWindow.messages().empty());
}

}  // namespace
}  // namespace q30x
