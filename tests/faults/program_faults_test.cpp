// The real program under a private X server against the virtual mouse: a
// cable that cannot make up its mind, and the input hooks under a flood of
// desktop input while the statistics page is shown. Both read the window's
// longest waits from the program's own --stall-report.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "tests/faults/held_limits.h"
#include "tests/support/bytes.h"
#include "tests/support/program_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

namespace q30x {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kTitle = "Tarvo Q30x Gaming Mouse Driver";
constexpr const char* kInfoTitle = "TarvoQ30xInfoDlg";
constexpr int kStartMs = 15000;

// The figures of --stall-report, by name.
std::map<std::string, long> readStallReport(const std::string& path) {
    std::map<std::string, long> figures;
    std::ifstream in(path);
    std::string name;
    long value = 0;
    while (in >> name >> value) figures[name] = value;
    return figures;
}

// Resident memory of a process in KiB, 0 when it cannot be read.
long residentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// CPU time a process has used, in clock ticks.
long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // utime and stime are fields 14 and 15; the name in parentheses may hold spaces.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n) {
        if (n == 14) utime = std::atol(field.c_str());
        if (n == 15) stime = std::atol(field.c_str());
    }
    return utime + stime;
}

// Waits until a process has worked off what it was sent: two quarter
// seconds in a row in which it used almost no CPU. False after `ms`.
bool waitUntilIdle(pid_t pid, int ms) {
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    int quiet = 0;
    for (auto end = Clock::now() + milliseconds(ms); Clock::now() < end && quiet < 2;) {
        const long before = cpuTicks(pid);
        std::this_thread::sleep_for(milliseconds(250));
        quiet = (cpuTicks(pid) - before) * 1000 / ticksPerSecond <= 10 ? quiet + 1 : 0;
    }
    return quiet >= 2;
}

class RealProgramTest : public ::testing::Test {
protected:
    RealProgramTest() {
        ::mkdir(work.file("run").c_str(), 0700);
        environment = {{"Q30X_WORKDIR", work.file("wd")},
                       {"XDG_RUNTIME_DIR", work.file("run")},
                       {"Q30X_VIRTUAL_MOUSE", "1"},
                       {"QT_QPA_PLATFORM", "xcb"}};
    }

    std::unique_ptr<test::ProgramProcess> start(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--stall-report", report()});
        return std::make_unique<test::ProgramProcess>(std::string(Q30X_TEST_PROGRAM_DIR) + "/q30x", arguments,
                                                      environment, work.file("out"));
    }
    std::string report() const { return work.file("stalls"); }

    void recordStalls(const std::map<std::string, long>& stalls) {
        for (const auto& [name, value] : stalls) RecordProperty(name, static_cast<int>(value));
    }
    // The window's own waits: a machine that gave it no CPU for a moment
    // (other jobs on the same cores) is not the program holding its window.
    static void expectNoStall(const std::map<std::string, long>& stalls) {
        if (!test::kLimitsHeld) return;
        EXPECT_LE(stalls.at("event-loop-gap-max-own-ms"), test::kMaxWindowWaitMs)
            << stalls.at("event-loop-gap-max-ms") << " ms with the waits for a CPU";
        EXPECT_LE(stalls.at("repaint-wait-max-own-ms"), test::kMaxWindowWaitMs)
            << stalls.at("repaint-wait-max-ms") << " ms with the waits for a CPU";
    }

    test::XvfbServer xvfb;
    test::TempFolder work;
    std::map<std::string, std::string> environment;
};

// ---- A cable that cannot make up its mind ------------------------------------

TEST_F(RealProgramTest, APlugStormLeavesTheRemovalMessageItsTimeThenEndsWithoutHoldingTheWindow) {
    ASSERT_TRUE(xvfb.running());
    const std::string cable = work.file("cable");
    ASSERT_EQ(::mkfifo(cable.c_str(), 0600), 0);
    environment["Q30X_VIRTUAL_CABLE"] = cable;
    // Real pauses: the firmware read after each arrival really waits.
    auto process = start({});
    ASSERT_TRUE(test::waitForWindow(kTitle, true, kStartMs));
    // A program that ended early must fail the writes, not end this test.
    std::signal(SIGPIPE, SIG_IGN);
    const int plug = ::open(cable.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(plug, 0);

    // Fifty times out and back in within a second.
    const auto stormStart = Clock::now();
    for (int change = 0; change < 100; ++change) {
        const char byte = change % 2 == 0 ? '0' : '1';
        ASSERT_EQ(::write(plug, &byte, 1), 1);
        std::this_thread::sleep_until(stormStart + milliseconds(10 * (change + 1)));
    }
    ::close(plug);
    const auto stormEnd = Clock::now();
    EXPECT_LE(stormEnd - stormStart, milliseconds(1100));

    EXPECT_TRUE(test::waitForWindow(kInfoTitle, true, 2000)) << "the news is on screen";
    EXPECT_FALSE(process->waitForExit(3000).has_value()) << "the removal message stays its five seconds";
    EXPECT_EQ(process->waitForExit(10000), 0);
    const auto ended = Clock::now();
    EXPECT_FALSE(test::findWindow(kInfoTitle).has_value() && test::findWindow(kInfoTitle)->viewable);

    const auto stalls = readStallReport(report());
    ASSERT_TRUE(stalls.count("event-loop-gap-max-ms")) << "no stall report";
    recordStalls(stalls);
    RecordProperty("seconds_from_storm_to_end",
                   static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(ended - stormEnd).count()));
    expectNoStall(stalls);
    EXPECT_GT(stalls.at("repaints"), 0);
}

// ---- The hooks under load ----------------------------------------------------

// X button numbers and one key, as a mouse and keyboard make them.
constexpr unsigned kLeft = 1, kMiddle = 2, kRight = 3, kWheelAway = 4, kWheelToward = 5, kBack = 8;
constexpr unsigned kShiftKey = 50;

// One round of input: every counted kind once, and two that never count (a
// side button and a key). Each entry is one X input event.
struct Round {
    struct Event {
        bool key;
        unsigned code;
        bool press;
    };
    static constexpr std::array<Event, 14> kEvents = {{
        {false, kLeft, true},        {false, kLeft, false},        {false, kRight, true},  {false, kRight, false},
        {false, kMiddle, true},      {false, kMiddle, false},      {false, kWheelAway, true},
        {false, kWheelAway, false},  {false, kWheelToward, true},  {false, kWheelToward, false},
        {false, kBack, true},        {false, kBack, false},        {true, kShiftKey, true}, {true, kShiftKey, false},
    }};
};

// The load's length: 10 seconds, or Q30X_LOAD_SECONDS.
int loadSeconds() {
    const char* text = std::getenv("Q30X_LOAD_SECONDS");
    const int seconds = text ? std::atoi(text) : 0;
    return seconds > 0 ? seconds : 10;
}

// True when some event device can be read: the program would then count this
// machine's own input instead of the private X server's.
bool eventDevicesReadable() {
    DIR* folder = ::opendir("/dev/input");
    if (!folder) return false;
    bool readable = false;
    while (dirent* entry = ::readdir(folder))
        if (std::string(entry->d_name).rfind("event", 0) == 0)
            readable = readable || ::access(("/dev/input/" + std::string(entry->d_name)).c_str(), R_OK) == 0;
    ::closedir(folder);
    return readable;
}

TEST_F(RealProgramTest, TenThousandInputEventsASecondAreAllCountedWhileTheStatisticsPageKeepsPainting) {
    if (eventDevicesReadable()) GTEST_SKIP() << "the program would read this machine's event devices";
    ASSERT_TRUE(xvfb.running());
    auto process = start({"--no-delays"});
    ASSERT_TRUE(test::waitForWindow(kTitle, true, kStartMs));
    const test::FoundWindow window = *test::findWindow(kTitle);
    const std::string stats = work.file("wd/Sts.cfg");
    const std::vector<uint8_t> before = test::readAll(stats);
    ASSERT_EQ(before.size(), 24u);

    // The hooks are in once the start-up is over; the window shows a moment before.
    std::this_thread::sleep_for(milliseconds(1000));
    test::clickAt(window.x + 665, window.y + 103);  // the statistics tab: one left click
    test::fakeMotion(1, 1);                           // off the window: the load's clicks land on nothing
    std::this_thread::sleep_for(milliseconds(500));

    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    constexpr int kEventsPerSecond = 10000;
    const int seconds = loadSeconds();
    const long total = static_cast<long>(kEventsPerSecond) * seconds;
    long sent = 0;
    long rssWarm = 0;
    const auto loadStart = Clock::now();
    for (int slice = 1; sent < total; ++slice) {
        // Paced in 10 ms slices, catching up on any slice this process lost.
        const long due = std::min(total, static_cast<long>(kEventsPerSecond) * slice / 100);
        for (; sent < due; ++sent) {
            const Round::Event& e = Round::kEvents[static_cast<std::size_t>(sent) % Round::kEvents.size()];
            if (e.key) XTestFakeKeyEvent(display, e.code, e.press ? True : False, CurrentTime);
            else XTestFakeButtonEvent(display, e.code, e.press ? True : False, CurrentTime);
        }
        XFlush(display);
        if (slice == 100) rssWarm = residentKiB(process->pid());
        std::this_thread::sleep_until(loadStart + milliseconds(10 * slice));
    }
    XSync(display, False);
    const auto loadTime = Clock::now() - loadStart;
    XCloseDisplay(display);
    EXPECT_TRUE(waitUntilIdle(process->pid(), 15000)) << "the program never caught up";
    const long rssEnd = residentKiB(process->pid());
    process->signal(SIGTERM);
    ASSERT_EQ(process->waitForExit(10000), 0);

    // What the statistics rules count: presses of left, middle and right and
    // wheel notches either way; the side button and the key do not count.
    const long rounds = sent / static_cast<long>(Round::kEvents.size());
    const long rest = sent % static_cast<long>(Round::kEvents.size());
    auto sentOf = [&](unsigned button) {
        long presses = 0;
        for (long i = 0; i < static_cast<long>(Round::kEvents.size()); ++i) {
            const Round::Event& e = Round::kEvents[static_cast<std::size_t>(i)];
            if (!e.key && e.code == button && e.press) presses += rounds + (i < rest ? 1 : 0);
        }
        return presses;
    };
    const std::vector<uint8_t> after = test::readAll(stats);
    ASSERT_EQ(after.size(), 24u);
    struct Counter {
        const char* name;
        std::size_t offset;
        long expected;
    };
    const Counter counters[] = {
        {"left", 0, sentOf(kLeft) + 1},  // and the tab's click
        {"middle", 4, sentOf(kMiddle)},
        {"right", 8, sentOf(kRight)},
        {"wheel forward", 12, sentOf(kWheelAway)},
        {"wheel backward", 16, sentOf(kWheelToward)},
    };
    long counted = 0, expected = 0;
    for (const Counter& c : counters) {
        const long got = static_cast<long>(test::u32At(after, c.offset) - test::u32At(before, c.offset));
        EXPECT_EQ(got, c.expected) << c.name;
        counted += got;
        expected += c.expected;
    }

    const auto stalls = readStallReport(report());
    ASSERT_TRUE(stalls.count("event-loop-gap-max-ms")) << "no stall report";
    RecordProperty("events_sent", static_cast<int>(sent));
    RecordProperty("load_ms", static_cast<int>(std::chrono::duration_cast<milliseconds>(loadTime).count()));
    RecordProperty("counted_expected", static_cast<int>(expected));
    RecordProperty("counted", static_cast<int>(counted));
    recordStalls(stalls);
    RecordProperty("rss_warm_kib", static_cast<int>(rssWarm));
    RecordProperty("rss_end_kib", static_cast<int>(rssEnd));
    expectNoStall(stalls);
    EXPECT_GT(stalls.at("repaints"), seconds * 5) << "the window kept painting";
    // Flat: the end of the run within 4 MiB of its first second.
    EXPECT_GT(rssWarm, 0);
    if (test::kLimitsHeld) {
        EXPECT_LE(rssEnd - rssWarm, 4096) << rssWarm << " KiB after a second, " << rssEnd << " KiB at the end";
    }
}

}  // namespace
}  // namespace q30x
