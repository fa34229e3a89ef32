// Who may read what the program keeps, and who may talk to it: the working
// folder and its files are the user's only whatever the umask, files at
// places the user chose follow the user's umask, and the single-instance
// socket hears only its owner's "show yourself" and shrugs off the rest.
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/single_instance.h"
#include "tests/safety/child_runs.h"
#include "tests/safety/saved_files.h"
#include "tests/support/program_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

namespace q30x {
namespace {

using test::buildProgram;
using test::runToEnd;

mode_t modeOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

class PrivateWhateverTheUmask : public ::testing::TestWithParam<mode_t> {};

TEST_P(PrivateWhateverTheUmask, TheWorkingFolderAndEveryFileItHoldsAreTheUsersOnly) {
    const test::ProcessSetup setup{.umask = GetParam(), .fileSizeLimit = std::nullopt, .errorsToOutput = false};
    test::TempFolder root;
    const std::string work = root.file("wd");
    const std::map<std::string, std::string> environment{{"Q30X_WORKDIR", work}, {"Q30X_VIRTUAL_MOUSE", "1"}};
    // The first start seeds the folder; a file left wider by an older
    // version is narrowed by its next save.
    ASSERT_EQ(runToEnd(buildProgram("q30xctl"), {"init"}, environment, setup).status, 0);
    ::chmod((work + "/" + profileFileName(1)).c_str(), 0644);
    ASSERT_EQ(runToEnd(buildProgram("q30xctl"), {"--no-delays", "apply"}, environment, setup).status, 0);
    for (const test::SavedFileName& saved : test::kSavedFiles) {
        if (saved.file == test::SavedFile::Export) continue;
        test::writeAll(test::savedFilePath(saved.file, work), test::savedImage(saved.file, 0));
        const auto run =
            runToEnd(buildProgram("safety_writer"), {std::string(saved.name), work, "once", "1"}, {}, setup);
        ASSERT_EQ(run.status, 0) << saved.name << run.output;
    }

    int files = 0;
    EXPECT_EQ(modeOf(work), 0700u);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(work)) {
        const std::string path = entry.path().string();
        if (entry.is_directory()) {
            EXPECT_EQ(modeOf(path), 0700u) << path;
        } else {
            EXPECT_EQ(modeOf(path), 0600u) << path;
            ++files;
        }
    }
    EXPECT_EQ(files, 9);
}

INSTANTIATE_TEST_SUITE_P(Umasks, PrivateWhateverTheUmask, ::testing::Values(mode_t{0}, mode_t{022}));

// An export lies where the user chose: a new one as the user's umask allows,
// a replaced one keeps the mode the user gave it.
TEST(UserFiles, AnExportFollowsTheUmaskAndKeepsTheModeOfTheFileItReplaces) {
    const std::string name(test::kSavedFiles[3].name);
    ASSERT_EQ(name, "export");
    for (mode_t umask : {mode_t{0}, mode_t{022}, mode_t{077}}) {
        test::TempFolder folder;
        const std::string path = test::savedFilePath(test::SavedFile::Export, folder.path());
        const test::ProcessSetup setup{.umask = umask, .fileSizeLimit = std::nullopt, .errorsToOutput = false};
        ASSERT_EQ(runToEnd(buildProgram("safety_writer"), {name, folder.path(), "once", "0"}, {}, setup).status, 0);
        EXPECT_EQ(modeOf(path), 0666u & ~umask) << std::oct << umask;
        ::chmod(path.c_str(), 0640);
        ASSERT_EQ(runToEnd(buildProgram("safety_writer"), {name, folder.path(), "once", "1"}, {}, setup).status, 0);
        EXPECT_EQ(modeOf(path), 0640u) << std::oct << umask;
    }
}

// ---- The single-instance socket ---------------------------------------------

constexpr unsigned char kContextMenuRequest[8] = {0x6C, 0x04, 0, 0, 0x05, 0x02, 0, 0};  // 1132 with 0x205

// A connected client of the socket at `path`, or -1. A connect that waits
// for the listener gives up after two seconds, so a stuck listener cannot
// hang the test.
int connectTo(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return -1;
    path.copy(address.sun_path, path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const timeval limit{2, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Sends as much of `bytes` as the listener takes before it hangs up.
void sendAll(int fd, const void* bytes, std::size_t size) {
    const auto* at = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t n = ::send(fd, at, size, MSG_NOSIGNAL);
        if (n <= 0) return;
        at += n;
        size -= static_cast<std::size_t>(n);
    }
}

// Everything a peer may throw at the socket but a proper request. Clients
// that keep their connection open, never finishing a request, stay in
// `held` until the end.
struct HostileClients {
    explicit HostileClients(std::string path) : path(std::move(path)) {}
    ~HostileClients() {
        for (int fd : held) ::close(fd);
    }

    void run() {
        for (int i = 0; i < 1000; ++i) {  // a flood of connections
            const int fd = connectTo(path);
            if (fd >= 0) ::close(fd);
            else ++refused;
        }
        for (int i = 0; i < 50; ++i) held.push_back(connectTo(path));  // connect and never write
        const std::vector<char> junk(1 << 20, '\x6C');  // a megabyte, starting like a request
        send(junk.data(), junk.size(), false);
        send(kShowRequest, 4, false);  // half a request, then gone
        send(kShowRequest, 4, true);   // half a request, then nothing more
        send(kContextMenuRequest, sizeof kContextMenuRequest, false);  // the right size, another request
        unsigned char longer[9];
        std::copy(std::begin(kShowRequest), std::end(kShowRequest), longer);
        longer[8] = 0;
        send(longer, sizeof longer, false);  // a request and a byte more
    }
    void send(const void* bytes, std::size_t size, bool hold) {
        const int fd = connectTo(path);
        if (fd < 0) {
            ++refused;
            return;
        }
        sendAll(fd, bytes, size);
        if (hold) held.push_back(fd);
        else ::close(fd);
    }

    std::string path;
    std::vector<int> held;
    int refused = 0;
};

int openDescriptors() {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

class InstanceSocket : public ::testing::Test {
protected:
    InstanceSocket() {
        EXPECT_TRUE(instance->acquire());
        EXPECT_TRUE(instance->listen());
    }

    std::string socketPath() const { return folder.file("q30x.sock"); }

    // What the window's loop does: wait on the descriptor, take what came.
    // The requests taken until `done` holds or `ms` have passed.
    template <typename Done>
    int pumpUntil(Done done, int ms) {
        int requests = 0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done(requests) && std::chrono::steady_clock::now() < end) {
            pollfd ready{instance->descriptor(), POLLIN, 0};
            if (::poll(&ready, 1, 10) > 0) requests += instance->takeShowRequests();
        }
        return requests;
    }
    // A proper request from a later copy is answered, and promptly.
    void expectShowAnswered() {
        const auto asked = std::chrono::steady_clock::now();
        std::thread later([this] { EXPECT_TRUE(makeSingleInstance(folder.path())->requestShow()); });
        EXPECT_EQ(pumpUntil([](int requests) { return requests > 0; }, 2000), 1);
        later.join();
        EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(1));
    }

    test::TempFolder folder;
    std::unique_ptr<SingleInstance> instance = makeSingleInstance(folder.path());
};

TEST_F(InstanceSocket, FloodsJunkHalfRequestsAndIdlePeersAreDroppedAndAShowStillCounts) {
    const int before = openDescriptors();
    HostileClients clients(socketPath());
    std::atomic<bool> finished = false;
    std::thread hostile([&] {
        clients.run();
        finished = true;
    });
    const int requests = pumpUntil([&](int) { return finished.load(); }, 60000);
    hostile.join();
    EXPECT_EQ(requests, 0);
    EXPECT_EQ(clients.refused, 0) << "the listener kept taking connections";
    // Unfinished peers are kept up to a bound, not one descriptor each.
    EXPECT_LE(openDescriptors() - before, static_cast<int>(clients.held.size()) + 16);

    expectShowAnswered();
}

TEST_F(InstanceSocket, ARequestInPiecesCountsOnce) {
    const int fd = connectTo(socketPath());
    ASSERT_GE(fd, 0);
    for (std::size_t i = 0; i < sizeof kShowRequest; ++i) {
        sendAll(fd, &kShowRequest[i], 1);
        EXPECT_EQ(pumpUntil([](int) { return false; }, 20), i + 1 == sizeof kShowRequest ? 1 : 0) << i;
    }
    ::close(fd);
}

// Only the owner is heard: the folder keeps others out, and were they let
// in, the peer's credentials still turn them away.
TEST_F(InstanceSocket, AnotherUserIsNotHeard) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    const std::string path = socketPath();  // made before the fork: the child only makes system calls
    auto asAnotherUser = [&] {
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
            const int fd = connectTo(path);
            if (fd < 0) ::_exit(1);
            sendAll(fd, kShowRequest, sizeof kShowRequest);
            ::_exit(0);
        }
        int status = 0;
        int requests = pumpUntil([&](int) { return ::waitpid(child, &status, WNOHANG) == child; }, 5000);
        requests += pumpUntil([](int) { return false; }, 100);
        return std::pair{WIFEXITED(status) ? WEXITSTATUS(status) : -1, requests};
    };
    EXPECT_EQ(asAnotherUser(), (std::pair{1, 0})) << "the private folder lets nobody else connect";
    ::chmod(folder.path().c_str(), 0755);
    ::chmod(path.c_str(), 0666);
    EXPECT_EQ(asAnotherUser(), (std::pair{0, 0})) << "connected and sent, and not heard";
    expectShowAnswered();
}

TEST(InstanceFolder, TheFolderAndTheSocketArePrivateWhateverTheUmask) {
    for (mode_t umask : {mode_t{0}, mode_t{022}}) {
        test::TempFolder runtime;
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        const mode_t previous = ::umask(umask);
        const std::string folder = instanceFolder();
        auto instance = makeSingleInstance(folder);
        const bool listening = instance->acquire() && instance->listen();
        ::umask(previous);
        ::unsetenv("XDG_RUNTIME_DIR");
        ASSERT_TRUE(listening);
        EXPECT_EQ(folder, runtime.file("q30x"));
        EXPECT_EQ(modeOf(folder), 0700u);
        EXPECT_EQ(modeOf(folder + "/q30x.sock"), 0600u);
        EXPECT_EQ(modeOf(folder + "/q30x.lock"), 0600u);
    }
}

// The real program under Xvfb: the same peers come while it sits in the
// tray; it stays there, and a second start still brings it back.
TEST(RunningProgram, ShrugsOffHostilePeersAndStillShowsItselfForASecondStart) {
    constexpr const char* kTitle = "Tarvo Q30x Gaming Mouse Driver";
    test::XvfbServer xvfb;
    ASSERT_TRUE(xvfb.running());
    test::TempFolder work;
    const std::string runtime = work.file("run");
    ::mkdir(runtime.c_str(), 0700);
    const std::map<std::string, std::string> environment{{"Q30X_WORKDIR", work.file("wd")},
                                                         {"XDG_RUNTIME_DIR", runtime},
                                                         {"Q30X_VIRTUAL_MOUSE", "1"},
                                                         {"QT_QPA_PLATFORM", "xcb"}};
    test::ProgramProcess first(buildProgram("q30x"), {"--no-delays"}, environment, work.file("first"));
    ASSERT_TRUE(test::waitForWindow(kTitle, true, 15000));
    const test::FoundWindow window = *test::findWindow(kTitle);
    test::clickAt(window.x + 939, window.y + 17);  // the hide button: off to the tray
    ASSERT_TRUE(test::waitForWindow(kTitle, false, 3000));

    HostileClients clients(runtime + "/q30x/q30x.sock");
    clients.run();
    EXPECT_EQ(clients.refused, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto hidden = test::findWindow(kTitle);
    EXPECT_TRUE(!hidden || !hidden->viewable) << "nothing but a proper request shows the window";

    test::ProgramProcess second(buildProgram("q30x"), {"--no-delays"}, environment, work.file("second"));
    EXPECT_EQ(second.waitForExit(3000), 0);
    ASSERT_TRUE(test::waitForWindow(kTitle, true, 3000));
    // The window still works: it goes back to the tray at a click.
    const test::FoundWindow shown = *test::findWindow(kTitle);
    test::clickAt(shown.x + 939, shown.y + 17);
    EXPECT_TRUE(test::waitForWindow(kTitle, false, 3000));

    first.signal(SIGTERM);
    EXPECT_EQ(first.waitForExit(5000), 0);
}

}  // namespace
}  // namespace q30x
