// The programs the product starts, started for real with hostile paths: host
// actions, the firmware burner and the updater. A recorder stands in for
// every program and writes down the arguments it was given; nothing may be
// read by a shell, and a program that cannot start is a failure, not a crash.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "app/host_actions.h"
#include "device/key_codes.h"
#include "device/presence.h"
#include "platform/utf16.h"
#include "tests/safety/child_runs.h"
#include "tests/support/bytes.h"
#include "tests/support/program_process.h"
#include "tests/support/recording_launcher.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

constexpr std::size_t kLongestPathUnits = 259;  // what a stored path holds before its terminator

struct Recorded {
    std::vector<std::string> arguments;
    std::string state;  // inherited descriptors, blocked and ignored signals
};

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// What the recorder wrote to `file`, once it has; nothing after five seconds.
std::optional<Recorded> awaitRecord(const std::string& file) {
    if (!test::waitUntil([&] { return std::filesystem::exists(file); }, 5000)) return std::nullopt;
    Recorded recorded;
    std::string argument;
    for (char c : readText(file)) {
        if (c) argument += c;
        else recorded.arguments.push_back(std::exchange(argument, {}));
    }
    recorded.state = readText(file + ".state");
    return recorded;
}

// A folder under `prefix`, made of folders named in wide characters, such
// that the folder followed by `rest` is exactly `units` UTF-16 units long.
std::string folderOfUnits(const std::string& prefix, const std::string& rest, std::size_t units) {
    std::string folder = prefix;
    std::size_t left = units - fromUtf8(prefix).size() - fromUtf8(rest).size();
    while (left > 0) {
        // Up to 80 three-byte characters stay within a name's 255 bytes; a
        // single unit left over would be a folder without a name.
        std::size_t wide = std::min<std::size_t>(left - 1, 80);
        if (left - wide - 1 == 1) --wide;
        folder += "/";
        for (std::size_t i = 0; i < wide; ++i) folder += "路";
        left -= wide + 1;
        std::filesystem::create_directory(folder);
    }
    return folder;
}

// A path to launch, or a program folder: everything a shell would read, and a
// leading "-" as an option parser would.
struct HostileName {
    const char* what;
    std::string name;  // empty: the longest path a profile stores
};
const HostileName kHostileNames[] = {
    {"spaces", "My Games  and more "},
    {"quotes", "it's \"quoted\""},
    {"command substitution", "$(touch pwned)"},
    {"backticks", "`touch pwned`"},
    {"newline", "line\nbreak"},
    {"leading dash", "-rf"},
    {"bytes that are not UTF-8", "bytes \xff\xfe\x80 end"},
    {"259 units", ""},
};

class Launches : public ::testing::Test {
protected:
    Launches() {
        // The desktop's opener is found through PATH, as the real one is.
        std::filesystem::create_directory(bin());
        std::filesystem::create_symlink(recorder(), bin() + "/" + kOpener);
        const char* path = std::getenv("PATH");
        previousPath_ = path ? path : "/usr/bin:/bin";
        ::setenv("PATH", (bin() + ":" + previousPath_).c_str(), 1);
        // Names without a folder are found from here, as from the program's working directory.
        previousDirectory_ = std::filesystem::current_path();
        std::filesystem::current_path(folder.path());
    }
    ~Launches() override {
        std::filesystem::current_path(previousDirectory_);
        ::setenv("PATH", previousPath_.c_str(), 1);
        ::unsetenv("Q30X_TEST_RECORD");
    }

    static std::string recorder() { return test::buildProgram("launch_recorder"); }
    std::string bin() const { return folder.file("bin"); }
    // The next launch records into a file of its own.
    std::string nextRecord() {
        const std::string file = folder.file("record" + std::to_string(++records_));
        ::setenv("Q30X_TEST_RECORD", file.c_str(), 1);
        return file;
    }
    // A file under `folder` named `name`, the longest path when the name is empty.
    std::string hostilePath(const std::string& name) const {
        if (name.empty()) return folderOfUnits(folder.path(), "/x", kLongestPathUnits) + "/x";
        // A leading "-" matters where the name starts the path.
        return name.front() == '-' ? name : folder.file(name);
    }
    void expectNoShellRan() const {
        EXPECT_FALSE(std::filesystem::exists(folder.file("pwned")));
        EXPECT_FALSE(std::filesystem::exists(folder.file("ran-by-a-shell")));
    }

    test::TempFolder folder;
    std::unique_ptr<ProgramLauncher> launcher = makeSystemProgramLauncher();
    test::RecordingLauncher sound;  // the sound player the actions get; none of these plays

private:
    std::string previousPath_;
    std::filesystem::path previousDirectory_;
    int records_ = 0;
};

TEST_F(Launches, AHostActionsPathReachesTheProgramOrTheOpenerAsOneArgument) {
    for (const HostileName& hostile : kHostileNames) {
        const std::string path = hostilePath(hostile.name);
        ASSERT_EQ(fromUtf8(path).size() == kLongestPathUnits, hostile.name.empty()) << hostile.what;
        std::filesystem::create_symlink(recorder(), path);
        struct Case {
            int32_t kind;
            std::vector<std::string> arguments;
        };
        const Case cases[] = {
            {kAdvancedProgram, {programPath(path)}},
            {kAdvancedFile, {kOpener, openerArgument(path)}},
            {kAdvancedFolder, {kOpener, openerArgument(path)}},
        };
        for (const Case& c : cases) {
            const std::string record = nextRecord();
            EXPECT_TRUE(runHostAction({c.kind, path}, *launcher, sound)) << hostile.what;
            const auto recorded = awaitRecord(record);
            ASSERT_TRUE(recorded) << hostile.what << " " << std::hex << c.kind;
            EXPECT_EQ(recorded->arguments, c.arguments) << hostile.what << " " << std::hex << c.kind;
        }
    }
    expectNoShellRan();
}

TEST_F(Launches, APathStoredInTheProfileReachesTheOpenerUnchanged) {
    for (const HostileName& hostile : kHostileNames) {
        const std::string path = hostilePath(hostile.name);
        // A profile holds UTF-16: bytes that are not UTF-8 cannot be stored in it.
        if (fromUtf8(path) != fromUtf8(toUtf8(fromUtf8(path))) || toUtf8(fromUtf8(path)) != path) continue;
        ProfileRecord record{};
        fillProfileDefaults(record, 0);
        record.buttons[1].functionType = kFunctionAdvanced;
        record.buttons[1].advancedKind = kAdvancedFolder;
        setFixedText(record.buttons[1].targetPath, fromUtf8(path));

        const std::string file = nextRecord();
        EXPECT_TRUE(runHostAction(hostActionFor(record, 0x207), *launcher, sound)) << hostile.what;
        const auto recorded = awaitRecord(file);
        ASSERT_TRUE(recorded) << hostile.what;
        EXPECT_EQ(recorded->arguments, (std::vector<std::string>{kOpener, openerArgument(path)})) << hostile.what;
    }
    expectNoShellRan();
}

TEST_F(Launches, TheBurnerAndTheUpdaterStartFromAnyProgramFolderWithTheirArguments) {
    for (const HostileName& hostile : kHostileNames) {
        // The program folder is always a full path; the longest makes the burner's path 259 units long.
        const std::string burnerName = "/" + std::string(kBurnerProgram);
        const std::string program = hostile.name.empty()
                                        ? folderOfUnits(folder.path(), burnerName, kLongestPathUnits)
                                        : folder.file(hostile.name);
        const std::string burner = joinPath(program, kBurnerProgram), updater = joinPath(program, kUpdaterProgram);
        for (const std::string& file : {burner, updater})
            std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::filesystem::create_symlink(recorder(), burner);
        std::filesystem::create_symlink(recorder(), updater);
        const Folders folders{program, folder.file("wd")};

        for (int chineseUi : {1, 0}) {
            const std::string record = nextRecord();
            EXPECT_TRUE(startBurner(*launcher, folders, chineseUi)) << hostile.what;
            const auto recorded = awaitRecord(record);
            ASSERT_TRUE(recorded) << hostile.what;
            EXPECT_EQ(recorded->arguments, (std::vector<std::string>{burner, chineseUi ? "1" : "0"})) << hostile.what;
        }
        const std::string record = nextRecord();
        EXPECT_TRUE(startUpdater(*launcher, folders)) << hostile.what;
        const auto recorded = awaitRecord(record);
        ASSERT_TRUE(recorded) << hostile.what;
        EXPECT_EQ(recorded->arguments, std::vector<std::string>{updater}) << hostile.what;
    }
    expectNoShellRan();
}

TEST_F(Launches, AProgramThatCannotStartIsAFailureAndNoShellTriesIt) {
    const std::string missing = folder.file("missing");
    const std::string notExecutable = folder.file("plain");
    test::writeAll(notExecutable, test::textBytes("#!/bin/sh\n"));
    ::chmod(notExecutable.c_str(), 0644);
    // Without a "#!" line the kernel refuses it; a shell would run its line.
    const std::string script = folder.file("q30x-no-interpreter-line");
    test::writeAll(script, test::textBytes("touch ran-by-a-shell\n"));
    ::chmod(script.c_str(), 0755);
    const std::string noInterpreter = folder.file("no interpreter");
    test::writeAll(noInterpreter, test::textBytes("#!/nonexistent/interpreter\ntouch ran-by-a-shell\n"));
    ::chmod(noInterpreter.c_str(), 0755);

    for (const std::string& program : {missing, notExecutable, script, noInterpreter, folder.path()})
        EXPECT_FALSE(launcher->launch(program, {"x"})) << program;
    // A name without a folder is looked up in PATH only, never here.
    for (const std::string program : {"./q30x-no-interpreter-line", "q30x-no-interpreter-line"})
        EXPECT_FALSE(launcher->launch(program, {})) << program;

    // The burner and the updater missing or not executable.
    const Folders folders{folder.file("program"), folder.file("wd")};
    std::filesystem::create_directories(folders.program + "/FWUpdate");
    EXPECT_FALSE(startBurner(*launcher, folders, 0));
    test::RecordingLauncher recording;
    EXPECT_FALSE(startUpdater(recording, folders));
    EXPECT_TRUE(recording.launched.empty()) << "a missing updater is not even tried";
    test::writeAll(joinPath(folders.program, kBurnerProgram), {'#', '!'});
    EXPECT_FALSE(startBurner(*launcher, folders, 0));

    // A host action whose opener is not installed.
    ::setenv("PATH", folder.file("nowhere").c_str(), 1);
    EXPECT_FALSE(runHostAction({kAdvancedFolder, folder.path()}, *launcher, sound));

    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    expectNoShellRan();
}

// A program started while this process blocks and ignores signals and holds
// descriptors of its own starts clean, as from a fresh session.
TEST_F(Launches, AStartedProgramInheritsNoDescriptorAndNoBlockedOrIgnoredSignal) {
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);  // not closed on exec
    auto previousPipeHandler = std::signal(SIGPIPE, SIG_IGN);
    sigset_t blocked, previousMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGUSR1);
    ::pthread_sigmask(SIG_BLOCK, &blocked, &previousMask);

    const std::string record = nextRecord();
    const bool started = launcher->launch(recorder(), {});
    unsigned long long blockedMask = ~0ull, ignoredMask = ~0ull;
    constexpr unsigned long long kLibcSignals = 3ull << 31;

    ::pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    std::signal(SIGPIPE, previousPipeHandler);
    ::close(pipe[0]);
    ::close(pipe[1]);

    ASSERT_TRUE(started);
    const auto recorded = awaitRecord(record);
    ASSERT_TRUE(recorded);
    std::istringstream state(recorded->state);
    std::string fds, blockedLine, ignoredLine;
    std::getline(state, fds);
    state >> blockedLine >> std::hex >> blockedMask >> ignoredLine >> ignoredMask;
    EXPECT_EQ(fds, "fds:");
    EXPECT_EQ(blockedLine, "SigBlk:");
    EXPECT_EQ(blockedMask, 0u);
    EXPECT_EQ(ignoredLine, "SigIgn:");
    // Signals 32 and 33 are the C library's own: every spawned program starts
    // with them ignored, and its C library takes them over.
    EXPECT_EQ(ignoredMask & ~kLibcSignals, 0u) << std::hex << ignoredMask;
}

// No shell anywhere in the tree: no call that hands a command line to one.
TEST(NoShell, NoSourceFileCallsOne) {
    // Spelled in pieces, so that this file does not find itself.
    // A shell may run a script file (the completion's tests do); it may never
    // be handed a command line, so the dash-c option is refused for every shell.
    const std::regex shellUse(std::string(R"(\b(sys)") + R"(tem|po)" + R"(pen|word)" + R"(exp)\s*\(|sh -)" +
                              "c\\b|\"-" + "c\"");
    std::vector<std::string> found;
    const std::filesystem::path source = Q30X_SOURCE_DIR;
    for (auto entry = std::filesystem::recursive_directory_iterator(source); entry != decltype(entry)(); ++entry) {
        const std::string name = entry->path().filename().string();
        if (entry->is_directory() && (name.rfind("build", 0) == 0 || name.front() == '.')) {
            entry.disable_recursion_pending();
            continue;
        }
        const std::string extension = entry->path().extension().string();
        if (!entry->is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
        std::ifstream in(entry->path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number)
            if (std::regex_search(line, shellUse))
                found.push_back(entry->path().lexically_relative(source).string() + ":" + std::to_string(number) +
                                ": " + line);
    }
    EXPECT_TRUE(found.empty()) << [&] {
        std::string lines;
        for (const auto& f : found) lines += f + "\n";
        return lines;
    }();
}

}  // namespace
}  // namespace q30x
