#include "firmware/update_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <thread>

#include "platform/messages.h"
#include "platform/utf16.h"
#include "skin/message_port.h"
#include "tests/support/http_server.h"
#include "tests/support/recording_launcher.h"
#include "tests/support/recording_target.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

// Remembers each box with the thread that showed it.
struct ThreadRecordingMessages final : UserMessages {
    std::vector<std::pair<std::string, std::thread::id>> shown;
    void info(std::u16string_view text) override { shown.emplace_back(toUtf8(text), std::this_thread::get_id()); }
    void standard(std::u16string_view text, std::u16string_view) override { info(text); }
};

// The support page's port carries timer 5 and the thread's answers; the
// boxes come up on the window's thread.
class UpdateWindowTest : public ::testing::Test {
protected:
    UpdateWindowTest() {
        link.connect(check);
        check.start();
    }
    // Runs the window's event loop until a box was shown; false after ten seconds.
    bool waitForBox() {
        QElapsedTimer timer;
        timer.start();
        while (messages.shown.empty() && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return !messages.shown.empty();
    }
    std::string text(UpdateText which) const { return toUtf8(updateText(which, false)); }

    test::TempFolder program;
    Folders folders{program.path(), program.path()};
    test::HttpServer server;
    std::unique_ptr<Downloader> downloader = makeCurlDownloader();
    test::RecordingLauncher launcher;
    ThreadRecordingMessages messages;
    test::RecordingTarget mainWindow;
    LanguageState language{0, 0, 2};
    QObject page;
    MessagePort port{&page};
    UpdatePageLink link{port};
    UpdateCheck check{UpdateServices{*downloader, launcher, messages, mainWindow, folders, language}, link,
                      server.url("/update.xml"), program.path()};
};

TEST_F(UpdateWindowTest, ThreadsAnswerIsShownByTheWindowsThreadAndStopsTimerFive) {
    server.serve("/update.xml", {200, "<u><firmware><current>12</current></firmware></u>", {}, {}, false});
    ASSERT_EQ(check.StartUpdateCheck(u"12"), 1);
    EXPECT_TRUE(port.hasTimer(kUpdateTimer));
    ASSERT_TRUE(waitForBox());
    EXPECT_EQ(messages.shown[0].first, text(UpdateText::Latest));
    EXPECT_EQ(messages.shown[0].second, std::this_thread::get_id());
    EXPECT_FALSE(port.hasTimer(kUpdateTimer));
    EXPECT_TRUE(check.idle());
}

TEST_F(UpdateWindowTest, TimerFiveAnswersASlowServer) {
    server.serve("/update.xml", {200, "<u/>", {}, std::chrono::seconds(20), false});
    ASSERT_EQ(check.StartUpdateCheck(u"12"), 1);
    ASSERT_TRUE(server.waitForRequests("/update.xml", 1));
    // What the port turns timer 5 into.
    port.post(msg::kTimer, kUpdateTimer, 0);
    ASSERT_TRUE(waitForBox());
    EXPECT_EQ(messages.shown[0].first, text(UpdateText::Unreachable));
    EXPECT_FALSE(port.hasTimer(kUpdateTimer));
    EXPECT_TRUE(check.idle());
}

}  // namespace
}  // namespace q30x
