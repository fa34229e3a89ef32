#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

// A raw client of the socket, to send what a second copy never would.
int connectRaw(const std::string& folder) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (folder + "/q30x.sock").c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return fd;
}

TEST(SingleInstance, TheSecondCopyFindsTheLockAndReachesTheFirstOnlyOnceItListens) {
    test::TempFolder folder;
    auto first = makeSingleInstance(folder.path());
    auto second = makeSingleInstance(folder.path());
    ASSERT_TRUE(first->acquire());
    EXPECT_FALSE(second->acquire());
    EXPECT_FALSE(second->requestShow()) << "still starting: nobody listens";

    ASSERT_TRUE(first->listen());
    struct stat info {};
    ASSERT_EQ(::stat(folder.file("q30x.sock").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_TRUE(second->requestShow());
    EXPECT_EQ(first->takeShowRequests(), 1);
    EXPECT_EQ(first->takeShowRequests(), 0);
}

TEST(SingleInstance, ALockAndSocketLeftByAnEndedCopyDoNotStopTheNextStart) {
    test::TempFolder folder;
    {
        auto crashed = makeSingleInstance(folder.path());
        ASSERT_TRUE(crashed->acquire());
        ASSERT_TRUE(crashed->listen());
    }
    // A socket file nobody serves any more, as a killed copy leaves it.
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, folder.file("q30x.sock").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(stale);

    auto next = makeSingleInstance(folder.path());
    ASSERT_TRUE(next->acquire());
    ASSERT_TRUE(next->listen());
    EXPECT_TRUE(makeSingleInstance(folder.path())->requestShow());
    EXPECT_EQ(next->takeShowRequests(), 1);
}

TEST(SingleInstance, AnythingButTheShowRequestIsDropped) {
    test::TempFolder folder;
    auto first = makeSingleInstance(folder.path());
    ASSERT_TRUE(first->acquire());
    ASSERT_TRUE(first->listen());
    const std::vector<std::string> junk = {
        std::string("\x6c\x04\0\0\x03\x02\0\0X", 9),  // the request with more behind it
        std::string("\x6c\x04\0\0\x05\x02\0\0", 8),   // another mouse message
        std::string(4096, 'j'),
        std::string("\x6c\x04", 2),  // a start, then the peer hangs up
    };
    for (const std::string& bytes : junk) {
        const int fd = connectRaw(folder.path());
        ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
        EXPECT_EQ(first->takeShowRequests() + first->takeShowRequests(), 0) << bytes.size();
    }
    // Silent connections do not pile up, and a real request still gets through.
    std::vector<int> idle;
    int shownByIdle = 0;
    for (int i = 0; i < 40; ++i) {
        idle.push_back(connectRaw(folder.path()));
        shownByIdle += first->takeShowRequests();
    }
    EXPECT_EQ(shownByIdle, 0);
    EXPECT_TRUE(makeSingleInstance(folder.path())->requestShow());
    int shown = 0;
    for (int i = 0; i < 8 && shown == 0; ++i) shown = first->takeShowRequests();
    EXPECT_EQ(shown, 1);
    for (int fd : idle) ::close(fd);
}

TEST(SingleInstance, TheInstanceFolderIsPrivate) {
    test::TempFolder runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    const std::string folder = instanceFolder();
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(folder, runtime.path() + "/q30x");
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace q30x
