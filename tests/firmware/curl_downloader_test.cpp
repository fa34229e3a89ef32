#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/downloader.h"
#include "tests/support/http_server.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using namespace std::chrono_literals;

constexpr DownloadLimits kLimits{2000, 10000, 1000};

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    return names;
}

class CurlDownloaderTest : public ::testing::Test {
protected:
    CurlDownloaderTest() { test::writeAll(target, {'O', 'L', 'D'}); }

    DownloadResult fetch(const std::string& url, bool cancel = false) {
        return downloader->download(url, target, kLimits, [cancel] { return cancel; });
    }
    std::string targetText() const {
        const auto bytes = test::readAll(target);
        return {bytes.begin(), bytes.end()};
    }

    test::HttpServer server;
    test::TempFolder folder;
    std::string target = folder.file("update.xml");
    std::unique_ptr<Downloader> downloader = makeCurlDownloader();
};

TEST_F(CurlDownloaderTest, CompleteBodyReplacesTheTarget) {
    server.serve("/a", {200, "new body", {}, {}, false});
    server.serve("/moved", {301, "", server.url("/a"), {}, false});
    for (const char* path : {"/a", "/moved"}) {
        SCOPED_TRACE(path);
        test::writeAll(target, {'O', 'L', 'D'});
        EXPECT_EQ(fetch(server.url(path)), DownloadResult::Ok);
        EXPECT_EQ(targetText(), "new body");
        EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"update.xml"});
    }
}

TEST_F(CurlDownloaderTest, AnythingShortOfACompleteHttpBodyLeavesTheTargetAlone) {
    server.serve("/404", {404, "gone", {}, {}, false});
    server.serve("/cut", {200, std::string(800, 'x'), {}, {}, true});
    server.serve("/big", {200, std::string(1001, 'x'), {}, {}, false});
    server.serve("/big-unannounced", {200, std::string(100000, 'x'), {}, {}, false, true});
    server.serve("/to-ftp", {302, "", "ftp://127.0.0.1/x", {}, false});
    server.serve("/to-file", {302, "", "file:///etc/hostname", {}, false});
    server.serve("/slow", {200, "late", {}, 20s, false});
    server.serve("/ok", {200, "fine", {}, {}, false});
    struct Case {
        const char* name;
        std::string url;
        bool cancel;
        DownloadResult result;
    };
    const Case cases[] = {
        {"404", server.url("/404"), false, DownloadResult::Failed},
        {"closed mid-body", server.url("/cut"), false, DownloadResult::Failed},
        {"over the cap", server.url("/big"), false, DownloadResult::TooLarge},
        {"over the cap, size not announced", server.url("/big-unannounced"), false, DownloadResult::TooLarge},
        {"refused", test::refusedUrl("/x"), false, DownloadResult::Failed},
        {"redirect to ftp", server.url("/to-ftp"), false, DownloadResult::Refused},
        {"redirect to file", server.url("/to-file"), false, DownloadResult::Refused},
        {"file address", "file:///etc/hostname", false, DownloadResult::Refused},
        {"ftp address", "ftp://127.0.0.1/x", false, DownloadResult::Refused},
        {"cancelled", server.url("/slow"), true, DownloadResult::Cancelled},
        {"cancelled before the body", server.url("/ok"), true, DownloadResult::Cancelled},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fetch(c.url, c.cancel), c.result);
        EXPECT_EQ(targetText(), "OLD");
        EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"update.xml"});
    }
}

TEST_F(CurlDownloaderTest, SlowServerEndsAtTheTotalTimeOut) {
    server.serve("/slow", {200, "late", {}, 20s, false});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(downloader->download(server.url("/slow"), target, {2000, 300, 1000}, [] { return false; }),
              DownloadResult::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(targetText(), "OLD");
}

TEST_F(CurlDownloaderTest, FolderThatCannotTakeFilesIsAWriteFailure) {
    server.serve("/ok", {200, "fine", {}, {}, false});
    EXPECT_EQ(downloader->download(server.url("/ok"), folder.file("missing/update.xml"), kLimits, [] { return false; }),
              DownloadResult::WriteFailed);
}

}  // namespace
}  // namespace q30x
