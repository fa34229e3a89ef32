#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "macros/macro_library.h"
#include "platform/utf16.h"
#include "tests/cli/cli_fixture.h"
#include "tests/support/bytes.h"

namespace q30x {
namespace {

using test::CliResult;
using test::VirtualEnvironment;

constexpr uint32_t kJumpId = 0x15000001;

// The seeded working folders hold one macro, "Jump", in the Customize group.
class SetCommandTest : public test::MouseCliTest {
protected:
    SetCommandTest() {
        test::MacroFileImage()
            .put(0, kJumpId, u"Jump", {macroEvent(kEventKeyDown, 0x41), macroEvent(kEventKeyUp, 0x41)}, 1)
            .write(program() + "/Macro.cfg");
        test::writeAll(temp.file("tool.sh"), test::textBytes("#!/bin/sh\n"));
    }
    // The profile and the index back as seeded, for the next run.
    void restoreSeededProfile() {
        if (seededProfile_.empty()) {
            EXPECT_EQ(runIn({"init"}).status, 0);
            seededProfile_ = profileBytes();
            seededIndex_ = test::readAll(indexFile());
        }
        test::writeAll(profileFile(), seededProfile_);
        test::writeAll(indexFile(), seededIndex_);
    }
    std::string indexFile() const { return joinPath(work(), filenames::kProfileIndex); }

private:
    std::vector<uint8_t> seededProfile_, seededIndex_;
};

std::u16string label(const ProfileRecord& r, int input) { return std::u16string(fixedText(r.buttons[input].label)); }

TEST_F(SetCommandTest, EachSettingIsStoredByItsPagesRule) {
    VirtualEnvironment env(nullptr);
    const std::string tool = temp.file("tool.sh"), folder = temp.path();
    using Check = std::function<void(const ProfileRecord&, const ProfileIndex&)>;
    struct Case {
        std::vector<std::string> words;
        Check check;
    };
    const Case cases[] = {
        {{"dpi=7000,500,1250"}, [](auto& r, auto&) {
             EXPECT_EQ(std::vector<int32_t>(r.dpiLevels, r.dpiLevels + 4), (std::vector<int32_t>{500, 1250, 7000, 0}));
         }},
        {{"dpi=500,750,1000,1250,1500,2000,2500"}, [](auto& r, auto&) { EXPECT_EQ(r.dpiLevels[6], 2500); }},
        {{"dpi=3250"}, [](auto& r, auto&) {
             EXPECT_EQ(r.dpiLevels[0], 3250);
             EXPECT_EQ(r.dpiLevels[1], 0);
         }},
        {{"rate=125"}, [](auto& r, auto&) { EXPECT_EQ(r.reportInterval, 8); }},
        {{"rate=500"}, [](auto& r, auto&) { EXPECT_EQ(r.reportInterval, 2); }},
        {{"speed=1"}, [](auto& r, auto&) { EXPECT_EQ(r.pointerSpeed, 1); }},
        {{"speed=20"}, [](auto& r, auto&) { EXPECT_EQ(r.pointerSpeed, 20); }},
        {{"precision=on"}, [](auto& r, auto&) { EXPECT_EQ(r.enhancePointerPrecision, 1); }},
        {{"precision=on", "precision=OFF"}, [](auto& r, auto&) { EXPECT_EQ(r.enhancePointerPrecision, 0); }},
        {{"height=30"}, [](auto& r, auto&) { EXPECT_EQ(r.heightSetting, 30); }},
        {{"wheel=1"}, [](auto& r, auto&) { EXPECT_EQ(r.wheelScrollLines, 1); }},
        {{"wheel=screen"}, [](auto& r, auto&) { EXPECT_EQ(r.wheelScrollLines, -1); }},
        {{"button.right=Volume up"}, [](auto& r, auto&) {
             EXPECT_EQ(r.buttons[2].functionType, 37);
             EXPECT_EQ(label(r, 2), u"Volume up");
         }},
        {{"button.right=143"}, [](auto& r, auto&) { EXPECT_EQ(label(r, 2), u"FIRE"); }},
        {{"button.wheelup=fire"}, [](auto& r, auto&) { EXPECT_EQ(r.buttons[5].functionType, 143); }},
        {{"button.back=combo:ctrl+shift+s"}, [](auto& r, auto&) {
             EXPECT_EQ(r.buttons[4].functionType, 5);
             EXPECT_EQ(r.buttons[4].comboCode, 0x00160300u);
             EXPECT_EQ(label(r, 4), u"Shift + Ctrl + S");
         }},
        {{"button.back=combo:F5"}, [](auto& r, auto&) {
             EXPECT_EQ(r.buttons[4].comboCode, 0x003E0000u);
             EXPECT_EQ(label(r, 4), u"F5");
         }},
        {{"button.back=combo:Alt"}, [](auto& r, auto&) { EXPECT_EQ(r.buttons[4].comboCode, 0x00E20000u); }},
        {{"button.forward=macro:0x15000001"}, [](auto& r, auto& index) {
             EXPECT_EQ(r.buttons[3].functionType, 6);
             EXPECT_EQ(r.buttons[3].macroId, static_cast<int32_t>(kJumpId));
             EXPECT_EQ(label(r, 3), u"Jump");
             EXPECT_EQ(index.entries[0].macroRefs[3], static_cast<int32_t>(kJumpId));
         }},
        {{"button.middle=folder:" + folder}, [&](auto& r, auto&) {
             EXPECT_EQ(r.buttons[1].functionType, 19);
             EXPECT_EQ(r.buttons[1].advancedKind, 0xF0);
             EXPECT_EQ(r.buttons[1].advancedParam, (0xF << 20) + (1 << 16) + 6);
             EXPECT_EQ(toUtf8(fixedText(r.buttons[1].targetPath)), folder);
         }},
        {{"button.wheeldown=program:" + tool}, [&](auto& r, auto&) {
             EXPECT_EQ(r.buttons[6].advancedKind, 0xD0);
             EXPECT_EQ(toUtf8(fixedText(r.buttons[6].label)), tool);
         }},
        {{"button.wheelup=disabled"}, [](auto& r, auto&) {
             EXPECT_EQ(r.buttons[5].functionType, 121);
             EXPECT_EQ(label(r, 5), u"Disable key");
         }},
        {{"button.wheeldown=Menu", "button.wheeldown=default"}, [](auto& r, auto&) {
             EXPECT_EQ(r.buttons[6].functionType, 22);
             EXPECT_EQ(label(r, 6), u"Scroll down");
         }},
        // In the order given: once the right button clicks, the left may leave Click.
        {{"button.right=Click", "button.left=Menu"}, [](auto& r, auto&) {
             EXPECT_EQ(r.buttons[0].functionType, 2);
             EXPECT_EQ(r.buttons[2].functionType, 1);
         }},
        {{"lighting=steady"}, [](auto& r, auto&) { EXPECT_EQ(r.lightingMode, 1); }},
        {{"lighting=breathing"}, [](auto& r, auto&) { EXPECT_EQ(r.lightingMode, 2); }},
        {{"lighting=apm-breathing"}, [](auto& r, auto&) { EXPECT_EQ(r.lightingMode, 3); }},
        {{"lighting=spectrum"}, [](auto& r, auto&) { EXPECT_EQ(r.lightingMode, 4); }},
        {{"lighting=cycle"}, [](auto& r, auto&) { EXPECT_EQ(r.lightingMode, 5); }},
        {{"lighting=off"}, [](auto& r, auto&) { EXPECT_EQ(r.lightingMode, 6); }},
        {{"brightness=10"}, [](auto& r, auto&) { EXPECT_EQ(r.brightness, 10); }},
        {{"breathing=1"}, [](auto& r, auto&) { EXPECT_EQ(r.breathingFrequency, 1); }},
        {{"cycle-speed=3"}, [](auto& r, auto&) { EXPECT_EQ(r.symphonySpeed, 6); }},
        {{"cycle-custom=on"}, [](auto& r, auto&) { EXPECT_EQ(r.symphonyCustom, 1); }},
        {{"colour=#102030"}, [](auto& r, auto&) {
             EXPECT_EQ(r.ledColour[3], 0x302010u);
             EXPECT_EQ(r.ledColourIsCustom[3], 1);
         }},
        {{"colour=preset:5"}, [](auto& r, auto&) {
             EXPECT_EQ(r.ledColour[3], 0x00F927u);
             EXPECT_EQ(r.ledColourPreset[3], 5);
             EXPECT_EQ(r.ledColourIsCustom[3], 0);
         }},
        {{"cycle-colour2=preset:25", "cycle-colour3=#abcdef"}, [](auto& r, auto&) {
             EXPECT_EQ(r.ledColour[1], 0xB95401u);
             EXPECT_EQ(r.ledColourPreset[1], 25);
             EXPECT_EQ(r.ledColour[2], 0xEFCDABu);
             EXPECT_EQ(r.ledColour[0], 0x0000FFu) << "the other colours stay";
         }},
        {{"proximity=off"}, [](auto& r, auto&) { EXPECT_EQ(r.proximitySensing, 0); }},
    };
    for (const Case& c : cases) {
        restoreSeededProfile();
        std::vector<std::string> words{"set"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        const CliResult r = onMouse(words);
        ASSERT_EQ(r.status, 0) << c.words[0] << ": " << r.err;
        EXPECT_NE(r.out.find("profile 1 applied and saved\n"), std::string::npos) << c.words[0];
        SCOPED_TRACE(c.words[0]);
        c.check(*savedProfile(), *savedIndex());
    }
}

TEST_F(SetCommandTest, RefusedValuesAreNamedWithTheReasonAndNothingChanges) {
    VirtualEnvironment env(nullptr);
    ASSERT_EQ(runIn({"init"}).status, 0);
    const std::vector<uint8_t> before = profileBytes();
    // A folder that exists but whose path does not fit a profile's 259 units.
    const std::string longFolder = temp.file(std::string(255, 'd'));
    std::filesystem::create_directory(longFolder);
    struct Case {
        std::string word;
        std::string reason;
        std::string first = "speed=5";  // a good setting, dropped with the refused one
    };
    const Case cases[] = {
        {"dpi=500,500", "500 is given twice"},
        {"dpi=1750", "1750 is not an offered DPI value"},
        {"dpi=500,750,1000,1250,1500,2000,2500,3000", "at most 7 levels"},
        {"dpi=", "'' is not a DPI value"},
        {"dpi=500,,750", "'' is not a DPI value"},
        {"rate=300", "'300' is not a report rate"},
        {"speed=0x10", "'0x10' is not a whole number from 1 to 20"},
        {"speed=0", "from 1 to 20"},
        {"speed=21", "from 1 to 20"},
        {"speed=+5", "from 1 to 20"},
        {"speed=99999999999", "from 1 to 20"},
        {"precision=yes", "'yes' is neither on nor off"},
        {"height=31", "from 1 to 30"},
        {"wheel=0", "nor screen"},
        {"wheel=page", "nor screen"},
        {"button.left=disabled", "At least one button must be configured as 'Left click'!"},
        {"button.left=Menu", "At least one button must be configured as 'Left click'!"},
        {"button.wheelup=SNIPE", "This key can not use the sniper function!"},
        {"button.left=folder:" + temp.path(), "The Left key can not use an advanced function!", "button.right=Click"},
        {"button.middle=sound:" + temp.file("absent.wav"), "is not a file"},
        {"button.middle=file:" + temp.path(), "is not a file"},
        {"button.middle=folder:" + temp.file("tool.sh"), "is not a folder"},
        {"button.middle=program:", "give a path"},
        {"button.middle=folder:" + longFolder, "The path is too long; at most 259 characters are allowed!"},
        {"button.back=combo:ctrl+shift", "need a key"},
        {"button.back=combo:ctrl+nosuchkey", "no key is called 'nosuchkey'"},
        {"button.back=combo:a+b", "only one key"},
        {"button.back=combo:ctrl+ctrl+a", "'ctrl' is given twice"},
        {"button.back=combo:ctrl+", "a key name is missing"},
        {"button.forward=macro:0x15000002", "there is no macro 0x15000002"},
        {"button.forward=macro:jump", "'jump' is not a macro id"},
        {"button.right=Scroll up", "is a wheel's own function"},
        {"button.right=6", "'6' is not a function"},
        {"button.right=Teleport", "'Teleport' is not a function"},
        {"button.top=Click", "there is no such setting"},
        {"lighting=rainbow", "'rainbow' is not a lighting effect"},
        {"brightness=11", "from 1 to 10"},
        {"breathing=0", "from 1 to 5"},
        {"cycle-speed=4", "from 1 to 3"},
        {"cycle-custom=1", "neither on nor off"},
        {"colour=#GGG", "'#GGG' is not a colour"},
        {"colour=#12345G", "is not a colour"},
        {"colour=red", "is not a colour"},
        {"colour=preset:26", "'26' is not a preset: give 0..25"},
        {"cycle-colour4=#000000", "there is no such setting"},
        {"proximity=maybe", "neither on nor off"},
        {"dpi", "give SETTING=VALUE"},
    };
    for (const Case& c : cases) {
        const CliResult r = onMouse({"set", c.first, c.word});
        EXPECT_EQ(r.status, 2) << c.word;
        EXPECT_NE(r.err.find("q30xctl: " + c.word + ": "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_EQ(traceText(), "") << c.word << ": nothing may reach the mouse";
        EXPECT_EQ(profileBytes(), before) << c.word;
    }
}

TEST_F(SetCommandTest, EveryRefusalOfOneRunIsNamed) {
    const CliResult r = runIn({"set", "dpi=500,500", "speed=0x10", "button.left=disabled", "colour=#GGG"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "q30xctl: dpi=500,500: 500 is given twice\n"
              "q30xctl: speed=0x10: '0x10' is not a whole number from 1 to 20\n"
              "q30xctl: button.left=disabled: At least one button must be configured as 'Left click'!\n"
              "q30xctl: colour=#GGG: '#GGG' is not a colour: give #RRGGBB in hex digits or preset:N\n"
              "q30xctl: nothing was changed\n");
}

TEST_F(SetCommandTest, RefusalsInTheChineseInterfaceAreTheProgramsChineseTexts) {
    const CliResult r = runIn({"--language", "1", "set", "button.wheeldown=SNIPE"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("此按键不可使用狙击功能!"), std::string::npos) << r.err;
}

TEST_F(SetCommandTest, SeveralSettingsApplyOnce) {
    VirtualEnvironment env(nullptr);
    const CliResult r = onMouse({"set", "dpi=1000,2000", "speed=15", "wheel=screen", "lighting=steady",
                                 "colour=#102030", "button.back=Play/Pause", "proximity=off"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(appliesTraced(), 1);
    const std::string trace = traceText();
    for (const char* line : {"DESKTOP 113 15\n", "DESKTOP 105 -1\n", "SET_FEATURE 06 03 b0"})
        EXPECT_NE(trace.find(line), std::string::npos) << line;
    const auto saved = savedProfile();
    EXPECT_EQ(saved->dpiLevels[1], 2000);
    EXPECT_EQ(saved->buttons[4].functionType, 32);
}

TEST_F(SetCommandTest, AFailedStepSavesNothing) {
    ASSERT_EQ(runIn({"init"}).status, 0);
    const std::vector<uint8_t> profile = profileBytes();
    const std::vector<uint8_t> index = test::readAll(indexFile());
    VirtualEnvironment env("11:out");
    const CliResult r = onMouse({"set", "speed=5", "button.forward=macro:15000001"});
    EXPECT_EQ(r.status, 15);
    EXPECT_EQ(r.err, "Write mouse DPI failed.\n");
    EXPECT_EQ(r.out.find("saved"), std::string::npos);
    EXPECT_EQ(appliesTraced(), 1);
    EXPECT_EQ(profileBytes(), profile);
    EXPECT_EQ(test::readAll(indexFile()), index) << "the macro reference is not kept";
}

TEST(SetHelp, ListsEverySettingAndItsWords) {
    const CliResult r = test::runCli({"set", "--help"});
    ASSERT_EQ(r.status, 0);
    for (const char* line :
         {"\n  dpi=LEVELS ", "\n  rate=125|250|500|1000 ", "\n  speed=1..20 ", "\n  precision=on|off ",
          "\n  height=1..30 ", "\n  wheel=1..30|screen ", "\n  button.left=FUNCTION ", "\n  button.middle=FUNCTION ",
          "\n  button.right=FUNCTION ", "\n  button.forward=FUNCTION ", "\n  button.back=FUNCTION ",
          "\n  button.wheelup=FUNCTION ", "\n  button.wheeldown=FUNCTION ",
          "\n  lighting=steady|breathing|apm-breathing|spectrum|cycle|off ", "\n  brightness=1..10 ",
          "\n  breathing=1..5 ", "\n  cycle-speed=1..3 ", "\n  cycle-custom=on|off ", "\n  colour=COLOUR ",
          "\n  cycle-colour1=COLOUR ", "\n  cycle-colour2=COLOUR ", "\n  cycle-colour3=COLOUR ", "\n  proximity=on|off ",
          "Volume up (37)", "SNIPE (142)", "combo:KEYS", "macro:ID", "sound:PATH", "program:PATH", "file:PATH",
          "folder:PATH", "disabled", "default", "preset:N", "LEVELS: 500 750 1000"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace q30x
