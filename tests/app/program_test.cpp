// The real program under a private X server against the virtual mouse,
// driven by real pointer events at the window's pixel positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/profile_record.h"
#include "tests/support/program_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

namespace q30x {
namespace {

constexpr const char* kTitle = "Tarvo Q30x Gaming Mouse Driver";
constexpr const char* kInfoTitle = "TarvoQ30xInfoDlg";
constexpr int kStartMs = 15000;

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() {
        ::mkdir(runtime().c_str(), 0700);
        environment = {{"Q30X_WORKDIR", work.file("wd")},
                       {"XDG_RUNTIME_DIR", runtime()},
                       {"Q30X_VIRTUAL_MOUSE", "1"},
                       {"QT_QPA_PLATFORM", "xcb"}};
    }

    std::string runtime() const { return work.file("run"); }
    std::string program() const { return std::string(Q30X_TEST_PROGRAM_DIR) + "/q30x"; }

    std::unique_ptr<test::ProgramProcess> start(std::vector<std::string> arguments, const std::string& name = "out") {
        arguments.insert(arguments.begin(), "--no-delays");
        return std::make_unique<test::ProgramProcess>(program(), arguments, environment, work.file(name));
    }

    // The program started with its trace in traceFile(), once its window
    // shows (null when it does not); window_ tells where.
    std::unique_ptr<test::ProgramProcess> startTraced() {
        auto process = start({"--trace", traceFile()});
        if (!test::waitForWindow(kTitle, true, kStartMs)) return nullptr;
        window_ = *test::findWindow(kTitle);
        return process;
    }
    std::string traceFile() const { return work.file("trace"); }

    // A press at a point of the assignment popup, which centres over the window.
    void clickPopup(int x, int y) const {
        test::clickAt(window_.x + (960 - 412) / 2 + x, window_.y + (650 - 300) / 2 + y);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }

    // A press at a point of the page rectangle, which starts at (15, 128).
    void clickPage(int x, int y) const {
        test::clickAt(window_.x + 15 + x, window_.y + 128 + y);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }

    // Profile 1 once it has been saved so that `done` holds; false after five seconds.
    template <typename Predicate>
    bool savedProfile(ProfileRecord& record, Predicate done) {
        return test::waitUntil(
            [&] {
                const auto bytes = test::readAll(work.file("wd/Profile/Profile1.cfg"));
                if (bytes.size() != sizeof record) return false;
                std::memcpy(&record, bytes.data(), sizeof record);
                return done(record);
            },
            5000);
    }

    test::XvfbServer xvfb;
    test::TempFolder work;
    std::map<std::string, std::string> environment;
    test::FoundWindow window_;
};

TEST_F(ProgramTest, ASecondStartBringsTheHiddenFirstWindowBackAndEndsQuietly) {
    ASSERT_TRUE(xvfb.running());
    auto first = start({});
    ASSERT_TRUE(test::waitForWindow(kTitle, true, kStartMs));
    const auto window = *test::findWindow(kTitle);
    EXPECT_EQ(window.width, 960);
    EXPECT_EQ(window.height, 650);
    // The hide button at the top right sends the window to the tray.
    test::clickAt(window.x + 939, window.y + 17);
    ASSERT_TRUE(test::waitForWindow(kTitle, false, 3000));

    auto second = start({}, "second");
    EXPECT_EQ(second->waitForExit(2000), 0);
    EXPECT_TRUE(test::waitForWindow(kTitle, true, 3000));
    EXPECT_EQ(readText(work.file("second")), "");

    first->signal(SIGTERM);
    EXPECT_EQ(first->waitForExit(5000), 0);
}

TEST_F(ProgramTest, WithoutTheMouseTheCountdownBoxShowsAndTheProgramEnds) {
    environment["Q30X_VIRTUAL_FAIL"] = "open";
    auto process = start({});
    EXPECT_TRUE(test::waitForWindow(kInfoTitle, true, kStartMs));
    EXPECT_EQ(process->waitForExit(15000), 1);
    EXPECT_FALSE(test::findWindow(kTitle).has_value() && test::findWindow(kTitle)->viewable);
}

TEST_F(ProgramTest, TheFirmwareLoaderStartsTheBurnerInTheSkinsLanguageAndEnds) {
    struct Case {
        bool chineseSkin;
        std::string argument;
    };
    for (const Case& c : {Case{false, "0"}, Case{true, "1"}}) {
        test::TempFolder folder;
        const std::string build = Q30X_TEST_PROGRAM_DIR;
        for (const char* entry : {"Language", "Profile", "Macro.cfg", "Sts.cfg", "Language.cfg"})
            ASSERT_EQ(::symlink((build + "/" + entry).c_str(), folder.file(entry).c_str()), 0) << entry;
        ASSERT_EQ(::symlink((build + (c.chineseSkin ? "/skins-sc" : "/skins")).c_str(), folder.file("skins").c_str()), 0);
        ::mkdir(folder.file("FWUpdate").c_str(), 0700);
        const std::string burner = folder.file("FWUpdate/ZazezaVI");
        std::ofstream(burner) << "#!/bin/sh\nprintf '%s' \"$*\" > \"$(dirname \"$0\")/argument\"\n";
        ::chmod(burner.c_str(), 0700);

        environment["Q30X_VIRTUAL_LOADER"] = "1";
        environment["Q30X_WORKDIR"] = folder.file("wd");
        auto process = start({"--program-dir", folder.path()});
        EXPECT_EQ(process->waitForExit(kStartMs), 0);
        EXPECT_TRUE(test::waitUntil([&] { return exists(folder.file("FWUpdate/argument")); }, 5000));
        EXPECT_EQ(readText(folder.file("FWUpdate/argument")), c.argument);
        EXPECT_FALSE(test::findWindow(kTitle).has_value() && test::findWindow(kTitle)->viewable);
    }
}

TEST_F(ProgramTest, SigtermEndsInOrder) {
    auto process = start({});
    ASSERT_TRUE(test::waitForWindow(kTitle, true, kStartMs));
    const std::string socket = runtime() + "/q30x/q30x.sock";
    EXPECT_TRUE(exists(socket));
    process->signal(SIGTERM);
    EXPECT_EQ(process->waitForExit(5000), 0);
    EXPECT_FALSE(exists(socket)) << "the orderly end removes what only a running copy needs";
}

TEST_F(ProgramTest, PressingOkWritesTheProfileToTheMouseAndSavesIt) {
    const std::string trace = traceFile();
    auto process = startTraced();
    ASSERT_TRUE(process);
    const test::FoundWindow& window = window_;
    const std::string index = work.file("wd/Profile/ConfigInfo.cfg");
    struct stat before {};
    ASSERT_EQ(::stat(index.c_str(), &before), 0);

    test::clickAt(window.x + 890, window.y + 611);  // inside OK's slanted outline
    EXPECT_TRUE(test::waitUntil([&] { return readText(trace).find("SET_FEATURE 06 01 01") != std::string::npos; }, 10000));
    // The whole sequence, in order: key table, DPI, the desktop lines, report rate.
    const std::string frames = readText(trace);
    const auto desktop = frames.find("DESKTOP 4 ");
    const auto rate = frames.find("SET_FEATURE 06 01 01");
    EXPECT_NE(desktop, std::string::npos);
    EXPECT_LT(desktop, rate);
    struct stat after {};
    EXPECT_TRUE(test::waitUntil([&] { return ::stat(index.c_str(), &after) == 0 && after.st_ino != before.st_ino; }, 5000))
        << "the index is saved after the apply";

    process->signal(SIGTERM);
    EXPECT_EQ(process->waitForExit(5000), 0);
}

// X key codes of the server's default (evdev) keymap.
constexpr int kKeyControl = 37, kKeyShift = 50, kKeyS = 39, kKeyEnd = 115, kKeyUp = 111;

void tap(int key) {
    test::fakeKey(key, true);
    test::fakeKey(key, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
}

TEST_F(ProgramTest, SettingsAndButtonsChosenWithThePointerReachTheMouseAndTheProfile) {
    const std::string trace = traceFile();
    auto process = startTraced();
    ASSERT_TRUE(process);
    const test::FoundWindow& w = window_;

    clickPage(162, 72);   // 750 off
    clickPage(89, 72);    // 500 on
    clickPage(93, 310);   // 125 Hz

    clickPage(156, 424);  // the middle button's tab opens the popup
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    clickPopup(255, 50);  // basic functions
    clickPopup(60, 74 + 9);  // the first row, then to "Mute", third from the end
    tap(kKeyEnd);
    tap(kKeyUp);
    tap(kKeyUp);
    clickPopup(354, 271);  // OK
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    clickPage(418, 424);  // the back button's tab
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    clickPopup(55, 50);  // key combination: capture is on
    test::fakeKey(kKeyControl, true);
    test::fakeKey(kKeyShift, true);
    test::fakeKey(kKeyS, true);
    test::fakeKey(kKeyS, false);
    test::fakeKey(kKeyShift, false);
    test::fakeKey(kKeyControl, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    clickPopup(354, 271);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    test::clickAt(w.x + 890, w.y + 611);  // OK of the main window
    ASSERT_TRUE(test::waitUntil([&] { return readText(trace).find("SET_FEATURE 06 01 08") != std::string::npos; }, 10000))
        << readText(trace);
    ProfileRecord record{};
    ASSERT_TRUE(savedProfile(record, [](const ProfileRecord& r) { return r.reportInterval == 8; }));
    EXPECT_EQ(record.buttons[1].functionType, 39) << "Mute";
    EXPECT_EQ(record.buttons[4].functionType, 5);
    EXPECT_EQ(record.buttons[4].comboCode, 0x00160300u) << "Ctrl+Shift+S as 00 03 16 00";
    const auto levels = std::vector<int32_t>(std::begin(record.dpiLevels), std::end(record.dpiLevels));
    EXPECT_NE(std::find(levels.begin(), levels.end(), 500), levels.end());
    EXPECT_EQ(std::find(levels.begin(), levels.end(), 750), levels.end());
    process->signal(SIGTERM);
    EXPECT_EQ(process->waitForExit(5000), 0);
}

// The lighting frames of a trace's last apply, as their hex text.
std::string lastFrame(const std::string& trace, const std::string& start) {
    const auto at = trace.rfind(start);
    return at == std::string::npos ? std::string() : trace.substr(at, trace.find('\n', at) - at);
}

TEST_F(ProgramTest, ASteadyColourPickedFromTheWheelReachesTheMouseAndTheProfile) {
    const std::string trace = traceFile();
    auto process = startTraced();
    ASSERT_TRUE(process);
    const test::FoundWindow& w = window_;
    test::clickAt(w.x + 300, w.y + 103);  // the lighting tab
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    clickPage(248, 95);   // steady
    clickPage(391, 274);  // preset 5
    clickPage(850, 330);  // a point of the colour wheel
    test::clickAt(w.x + 890, w.y + 611);
    ASSERT_TRUE(test::waitUntil([&] { return readText(trace).find("SET_FEATURE 06 01 01") != std::string::npos; }, 10000));

    ProfileRecord record{};
    ASSERT_TRUE(savedProfile(record, [](const ProfileRecord& r) { return r.lightingMode == 1; }));
    const uint32_t colour = static_cast<uint32_t>(record.ledColour[3]);
    EXPECT_NE(colour, 0x00F927u) << "the wheel's colour replaced the preset's";
    EXPECT_EQ(record.ledColourIsCustom[3], 1);
    char expected[64];
    std::snprintf(expected, sizeof expected, "SET_FEATURE 06 0c 01 %02x %02x %02x", (colour >> 8) & 0xFF, colour & 0xFF,
                  (colour >> 16) & 0xFF);
    const std::string frames = readText(trace);
    EXPECT_EQ(lastFrame(frames, "SET_FEATURE 06 0c"), std::string(expected) + " 00 00 00");
    char effect[64];
    std::snprintf(effect, sizeof effect, "SET_FEATURE 06 0d 01 01 %02x 01", record.brightness & 0xFF);
    EXPECT_EQ(lastFrame(frames, "SET_FEATURE 06 0d"), std::string(effect) + " 00 00 00");
    process->signal(SIGTERM);
    EXPECT_EQ(process->waitForExit(5000), 0);
}

TEST_F(ProgramTest, AMacroRecordedWithRealKeysIsStoredAssignedAndUploaded) {
    const std::string trace = traceFile();
    auto process = startTraced();
    ASSERT_TRUE(process);
    const test::FoundWindow& w = window_;
    constexpr int kKeyA = 38, kKeyB = 56, kKeyC = 54, kKeyQ = 24, kKeyW = 25, kKeyReturn = 36;

    test::clickAt(w.x + 485, w.y + 103);  // the macro tab
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    clickPage(46, 426);  // New: the new macro's name opens for editing
    for (int key : {kKeyA, kKeyB, kKeyC}) tap(key);
    tap(kKeyReturn);
    clickPage(841, 37);  // Record
    for (int key : {kKeyQ, kKeyW}) tap(key);
    clickPage(841, 37);  // and stop
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    // The name and the rows reach Macro.cfg (the name is UTF-16 there).
    const std::string name("a\0b\0c\0", 6);
    EXPECT_TRUE(test::waitUntil([&] { return readText(work.file("wd/Macro.cfg")).find(name) != std::string::npos; }, 5000));

    test::clickAt(w.x + 129, w.y + 103);  // back to the main settings page
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    clickPage(156, 424);  // the middle button's popup
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    clickPopup(160, 50);            // its macro tab
    clickPopup(21 + 60, 74 + 9);    // the first game row, then to the last: the custom group
    tap(kKeyEnd);
    // The factory library is empty: the group's first macro is the one just made.
    clickPopup(21 + 260, 74 + 9);
    clickPopup(354, 271);           // OK
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    test::clickAt(w.x + 890, w.y + 611);
    ASSERT_TRUE(test::waitUntil([&] { return readText(trace).find("SET_FEATURE 06 01 01") != std::string::npos; }, 10000));
    const std::string frames = readText(trace);
    EXPECT_NE(frames.find("SET_FEATURE 06 13 01 01 00 02"), std::string::npos) << "macro 1 announced as two pages";
    EXPECT_NE(frames.find("OUTPUT 06"), std::string::npos) << "its payload follows";
    ProfileRecord record{};
    EXPECT_TRUE(savedProfile(record, [](const ProfileRecord& r) { return r.buttons[1].functionType == 6; }));
    process->signal(SIGTERM);
    EXPECT_EQ(process->waitForExit(5000), 0);
}

TEST_F(ProgramTest, TheInstalledProgramRunsFromItsOwnFolder) {
    test::TempFolder root;
    std::map<std::string, std::string> installEnvironment{{"DESTDIR", root.path()}};
    test::ProgramProcess install(Q30X_TEST_CMAKE, {"--install", Q30X_TEST_PROGRAM_DIR, "--prefix", "/opt/q30x"},
                                 installEnvironment, work.file("install.log"));
    ASSERT_EQ(install.waitForExit(60000), 0) << readText(work.file("install.log"));
    const std::string prefix = root.file("opt/q30x");
    for (const char* file : {"bin/q30x", "bin/q30xctl", "lib/q30x/libMenuEx.so", "lib/q30x/skins/Main_Normal.bmp",
                             "lib/q30x/Language/en.xml", "lib/q30x/Profile/Profile1.cfg", "lib/q30x/Macro.cfg",
                             "share/applications/q30x.desktop", "share/icons/hicolor/256x256/apps/q30x.png",
                             "share/man/man1/q30x.1", "share/man/man1/q30xctl.1",
                             "share/bash-completion/completions/q30xctl"})
        EXPECT_TRUE(exists(prefix + "/" + file)) << file;
    // The installed pages format without a warning, and the completion reads as bash.
    test::ProcessSetup errorsToo;
    errorsToo.errorsToOutput = true;
    for (const char* page : {"q30x.1", "q30xctl.1"}) {
        test::ProgramProcess man("/usr/bin/groff", {"-man", "-Tutf8", "-ww", "-z", prefix + "/share/man/man1/" + page}, {},
                                 work.file("groff.out"), errorsToo);
        EXPECT_EQ(man.waitForExit(10000), 0) << page;
        EXPECT_EQ(readText(work.file("groff.out")), "") << page;
    }
    test::ProgramProcess bash("/bin/bash", {"-n", prefix + "/share/bash-completion/completions/q30xctl"}, {},
                              work.file("bash.out"));
    EXPECT_EQ(bash.waitForExit(10000), 0);
    EXPECT_TRUE(exists(root.file("etc/udev/rules.d/70-q30x.rules")));

    const std::string shots = work.file("shots");
    test::ProgramProcess program(prefix + "/bin/q30x", {"--no-delays", "--screenshots", shots}, environment,
                                 work.file("installed.out"));
    EXPECT_EQ(program.waitForExit(kStartMs), 0);
    EXPECT_NE(readText(work.file("installed.out")).find("screenshots: "), std::string::npos);
    for (const char* page : {"main_page1_main.png", "main_page5_support.png"})
        EXPECT_TRUE(exists(shots + "/" + page)) << page;
}

}  // namespace
}  // namespace q30x
