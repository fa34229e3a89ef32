#include "app/host_actions.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "device/key_codes.h"
#include "platform/utf16.h"
#include "tests/support/recording_launcher.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

ProfileRecord recordWith(int index, int32_t type, int32_t kind, std::u16string_view path) {
    ProfileRecord record{};
    fillProfileDefaults(record, 0);
    auto& button = record.buttons[index];
    button.functionType = type;
    button.advancedKind = kind;
    setFixedText(button.targetPath, path);
    return record;
}

TEST(HostActions, OnlyTheSixNonLeftInputsWithAnAdvancedFunctionAsk) {
    struct Case {
        uintptr_t code;
        int index;
        int32_t type;
        int32_t expectedKind;
    };
    const Case cases[] = {
        {0x207, 1, kFunctionAdvanced, kAdvancedFolder},      {0x204, 2, kFunctionAdvanced, kAdvancedFolder},
        {0x2020B, 3, kFunctionAdvanced, kAdvancedFolder},    {0x1020B, 4, kFunctionAdvanced, kAdvancedFolder},
        {0x20A01, 5, kFunctionAdvanced, kAdvancedFolder},    {0x20A00, 6, kFunctionAdvanced, kAdvancedFolder},
        {0x201, 0, kFunctionAdvanced, 0},  // the left button never runs one
        {1, 1, kFunctionAdvanced, 0},      // a key press is no input of the mouse
        {0x207, 1, 4, 0},                  // the middle button doing its own job
        {0x207, 2, kFunctionAdvanced, 0},  // another button has the action
    };
    for (const Case& c : cases) {
        const ProfileRecord record = recordWith(c.index, c.type, kAdvancedFolder, u"/home/u/My Games");
        const HostAction action = hostActionFor(record, c.code);
        EXPECT_EQ(action.kind, c.expectedKind) << std::hex << c.code;
        if (c.expectedKind) {
            EXPECT_EQ(action.path, "/home/u/My Games");
        }
    }
}

TEST(HostActions, EachKindReachesItsStarterWithThePathAsOneArgument) {
    test::TempFolder folder;
    const std::string tool = folder.file("run me.sh");
    test::writeAll(tool, {'#', '!'});
    ::chmod(tool.c_str(), 0700);
    const std::string plain = folder.file("notes.txt");
    test::writeAll(plain, {'x'});

    struct Case {
        int32_t kind;
        std::string path;
        std::string program;  // empty: played as a sound
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {kAdvancedSound, "/usr/share/sounds/a b.oga", "", {}},
        {kAdvancedProgram, tool, tool, {}},
        {kAdvancedProgram, plain, kOpener, {plain}},
        {kAdvancedFile, "/home/u/a \"quoted\" $(x) `y`.txt", kOpener, {"/home/u/a \"quoted\" $(x) `y`.txt"}},
        {kAdvancedFolder, "/home/u/My Games", kOpener, {"/home/u/My Games"}},
        {kAdvancedFolder, "-rf", kOpener, {"./-rf"}},
        {kAdvancedFolder, "line\nbreak", kOpener, {"line\nbreak"}},
    };
    for (const Case& c : cases) {
        test::RecordingLauncher launcher;
        EXPECT_TRUE(runHostAction({c.kind, c.path}, launcher, launcher)) << c.path;
        if (c.program.empty()) {
            EXPECT_EQ(launcher.played, std::vector<std::string>{c.path});
            EXPECT_TRUE(launcher.launched.empty());
            continue;
        }
        ASSERT_EQ(launcher.launched.size(), 1u) << c.path;
        EXPECT_EQ(launcher.launched[0].first, c.program);
        EXPECT_EQ(launcher.launched[0].second, c.arguments);
    }
}

TEST(HostActions, AnEmptyPathOrAnUnknownKindDoesNothing) {
    for (const HostAction& action : {HostAction{kAdvancedFolder, ""}, HostAction{kAdvancedSound, ""},
                                     HostAction{0xB0, "/tmp"}, HostAction{0, "/tmp"}}) {
        test::RecordingLauncher launcher;
        EXPECT_FALSE(runHostAction(action, launcher, launcher));
        EXPECT_TRUE(launcher.launched.empty());
        EXPECT_TRUE(launcher.played.empty());
    }
}

TEST(HostActions, AFailedStartIsReportedNotThrown) {
    test::RecordingLauncher launcher;
    launcher.succeeds = false;
    EXPECT_FALSE(runHostAction({kAdvancedFolder, "/nowhere"}, launcher, launcher));
}

}  // namespace
}  // namespace q30x
