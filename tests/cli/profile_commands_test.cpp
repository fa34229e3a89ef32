#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

#include "tests/cli/cli_fixture.h"
#include "tests/cli/parse_json.h"
#include "tests/support/bytes.h"

namespace q30x {
namespace {

using test::CliResult;
using test::VirtualEnvironment;

class ProfileCommandsTest : public test::MouseCliTest {
protected:
    ProfileCommandsTest() { EXPECT_EQ(runIn({"init"}).status, 0); }
    std::string currentLine(int n) const { return "current profile: " + std::to_string(n) + " (" + profileFile(n) + ")\n"; }
};

TEST_F(ProfileCommandsTest, ProfileSwitchesAsItsButtonDoesAndKeepsTheSwitchOnceApplied) {
    VirtualEnvironment env(nullptr);
    EXPECT_EQ(runIn({"profile"}).out, currentLine(1));
    ASSERT_EQ(onMouse({"set", "speed=4"}).status, 0);

    const CliResult r = onMouse({"profile", "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("profile 3 applied and saved\n"), std::string::npos);
    EXPECT_EQ(appliesTraced(), 1);
    EXPECT_NE(traceText().find("DESKTOP 113 10\n"), std::string::npos) << "profile 3's own pointer speed";
    EXPECT_EQ(runIn({"profile"}).out, currentLine(3));
    const auto index = savedIndex();
    for (int n = 0; n < kProfileCount; ++n) EXPECT_EQ(index->entries[n].selected, n == 2 ? 1 : 0) << n;

    ASSERT_EQ(onMouse({"profile", "1"}).status, 0);
    EXPECT_NE(traceText().find("DESKTOP 113 4\n"), std::string::npos) << "profile 1 as it was set";
}

TEST_F(ProfileCommandsTest, AFailedApplyKeepsTheFormerProfileSelected) {
    const std::vector<uint8_t> index = test::readAll(joinPath(work(), filenames::kProfileIndex));
    VirtualEnvironment env("0d");
    const CliResult r = onMouse({"profile", "2"});
    EXPECT_EQ(r.status, 12);
    EXPECT_EQ(r.err, "Write mouse effect failed.\n");
    EXPECT_EQ(test::readAll(joinPath(work(), filenames::kProfileIndex)), index);
    EXPECT_EQ(runIn({"profile"}).out, currentLine(1));
}

TEST_F(ProfileCommandsTest, AProfileThatDoesNotLoadIsNotSwitchedTo) {
    VirtualEnvironment env(nullptr);
    test::writeAll(profileFile(4), std::vector<uint8_t>(64, 0));
    const CliResult r = onMouse({"profile", "4"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Info: " + profileFile(4) + " is an invaild Profile!"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("profile 4 was not loaded; profile 1 stays current"), std::string::npos) << r.err;
    EXPECT_EQ(traceText(), "");
}

TEST_F(ProfileCommandsTest, ProfileNumbersAreChecked) {
    struct Case {
        std::vector<std::string> words;
        int status;
    };
    const Case cases[] = {{{"profile", "0"}, 2}, {{"profile", "6"}, 2}, {{"profile", "x"}, 2},
                          {{"profile", "02x"}, 2}, {{"profile", "1", "2"}, 64}};
    for (const Case& c : cases) {
        const CliResult r = onMouse(c.words);
        EXPECT_EQ(r.status, c.status) << c.words[1];
        EXPECT_EQ(traceText(), "") << c.words[1];
    }
}

TEST_F(ProfileCommandsTest, ExportAndImportRoundTrip) {
    VirtualEnvironment env(nullptr);
    ASSERT_EQ(onMouse({"set", "speed=4", "lighting=off", "button.back=Mute", "colour=preset:9"}).status, 0);
    const std::vector<uint8_t> edited = profileBytes();
    const std::string file = temp.file("mine.cfg");

    CliResult r = runIn({"export", file});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, file + " export success!\n");
    EXPECT_EQ(test::readAll(file), edited);

    ASSERT_EQ(onMouse({"reset"}).status, 0);
    ASSERT_NE(profileBytes(), edited);

    r = onMouse({"import", file});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind(file + " import success!\n", 0), 0u) << r.out;
    EXPECT_EQ(appliesTraced(), 1);
    EXPECT_EQ(profileBytes(), edited);
}

TEST_F(ProfileCommandsTest, AnImportedMacroButtonKeepsItsMacro) {
    VirtualEnvironment env(nullptr);
    auto file = savedProfile(2);
    file->buttons[3].functionType = 6;
    file->buttons[3].macroId = 0x15000001;
    test::writeAll(temp.file("macro.cfg"), test::bytesOf(*file));
    ASSERT_EQ(onMouse({"import", temp.file("macro.cfg")}).status, 0);
    EXPECT_EQ(savedIndex()->entries[0].macroRefs[3], 0x15000001);
}

TEST_F(ProfileCommandsTest, ImportRefusesWhatIsNoProfileAndChangesNothing) {
    VirtualEnvironment env(nullptr);
    const std::vector<uint8_t> before = profileBytes();
    std::vector<uint8_t> tooLong(sizeof(ProfileRecord) + 1, 0);
    test::putU32(tooLong, 0, kProfileMagic);
    const std::pair<std::string, std::vector<uint8_t>> files[] = {
        {"zeros.cfg", std::vector<uint8_t>(sizeof(ProfileRecord), 0)},
        {"short.cfg", {0x65, 0x02, 0x80}},
        {"long.cfg", tooLong},
    };
    for (const auto& [name, bytes] : files) {
        test::writeAll(temp.file(name), bytes);
        const CliResult r = onMouse({"import", temp.file(name)});
        EXPECT_EQ(r.status, 2) << name;
        EXPECT_EQ(r.err, temp.file(name) + " is an invalid Profile!\n");
        EXPECT_EQ(traceText(), "") << name;
        EXPECT_EQ(profileBytes(), before) << name;
    }
    EXPECT_EQ(onMouse({"import", temp.file("absent.cfg")}).status, 2);
}

TEST_F(ProfileCommandsTest, ExportThatCannotBeWrittenFails) {
    const CliResult r = runIn({"export", temp.file("no/such/folder/mine.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, temp.file("no/such/folder/mine.cfg") + " export failed!\n");
}

TEST_F(ProfileCommandsTest, ResetRestoresTheDefaultsWithoutMacroReferences) {
    VirtualEnvironment env(nullptr);
    ASSERT_EQ(onMouse({"set", "dpi=500", "button.back=Mute", "lighting=off"}).status, 0);
    // A macro reference left in the index, as a macro button would.
    std::vector<uint8_t> index = test::readAll(joinPath(work(), filenames::kProfileIndex));
    test::putU32(index, offsetof(ProfileIndexEntry, macroRefs) + 4 * 3, 0x15000001);
    test::writeAll(joinPath(work(), filenames::kProfileIndex), index);

    const CliResult r = onMouse({"reset"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(appliesTraced(), 1);
    auto defaults = std::make_unique<ProfileRecord>();
    fillProfileDefaults(*defaults, 0);
    EXPECT_EQ(profileBytes(), test::bytesOf(*defaults));
    const auto saved = savedIndex();
    for (int32_t ref : saved->entries[0].macroRefs) EXPECT_EQ(ref, 0);
}

// ---- --json -----------------------------------------------------------------

// The value after "key: " on the text form's line of that key.
std::string textValue(const std::string& text, const std::string& key) {
    const auto at = text.find("\n" + key + ": ");
    if (at == std::string::npos) return "(missing)";
    const auto start = at + key.size() + 3;
    return text.substr(start, text.find('\n', start) - start);
}

std::string hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

TEST_F(ProfileCommandsTest, ShowJsonCarriesWhatTheTextShows) {
    VirtualEnvironment env(nullptr);
    ASSERT_EQ(onMouse({"set", "dpi=500,7000", "rate=250", "speed=3", "height=9", "wheel=screen", "precision=on",
                       "button.back=combo:ctrl+shift+s", "button.middle=folder:" + temp.path(), "lighting=cycle",
                       "cycle-custom=on", "cycle-colour1=#0A0B0C", "cycle-colour2=preset:3", "brightness=2",
                       "breathing=4", "cycle-speed=1", "proximity=off"})
                  .status,
              0);
    const std::string text = runIn({"show"}).out;
    const CliResult json = runIn({"--json", "show"});
    ASSERT_EQ(json.status, 0);
    QJsonParseError error;
    const QJsonObject shown = test::parseJson(json.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();

    EXPECT_EQ(shown["profile"].toInt(), 1);
    EXPECT_EQ(text.rfind("current profile: 1 (" + shown["file"].toString().toStdString() + ")\n", 0), 0u);
    EXPECT_EQ(textValue(text, "magic"), hex(static_cast<uint32_t>(shown["magic"].toInteger()), 8));
    for (const char* key : {"heightSetting", "lightingMode", "symphonyCustom", "proximitySensing",
                            "enhancePointerPrecision", "pointerSpeed", "brightness", "breathingFrequency",
                            "symphonySpeed"})
        EXPECT_EQ(textValue(text, key), std::to_string(shown[key].toInt())) << key;
    EXPECT_EQ(textValue(text, "reportInterval"),
              std::to_string(shown["reportInterval"].toInt()) + " (" + std::to_string(shown["reportRateHz"].toInt()) + " Hz)");
    EXPECT_EQ(textValue(text, "wheelScrollLines"), std::to_string(shown["wheelScrollLines"].toInt()) + " (one screen)");
    EXPECT_TRUE(shown["wheelOneScreen"].toBool());
    const auto joined = [](const QJsonArray& values) {
        std::string line;
        for (const auto& v : values) line += (line.empty() ? "" : " ") + (v.isString() ? v.toString().toStdString()
                                                                                      : std::to_string(v.toInt()));
        return line;
    };
    for (const char* key : {"dpiLevels", "ledColour", "ledColourIsCustom", "ledColourPreset"})
        EXPECT_EQ(textValue(text, key), joined(shown[key].toArray())) << key;

    const QJsonArray buttons = shown["buttons"].toArray();
    ASSERT_EQ(buttons.size(), kButtonCount);
    for (const auto& value : buttons) {
        const QJsonObject b = value.toObject();
        const std::string name = b["functionName"].toString().toStdString();
        const std::string block =
            "button " + std::to_string(b["index"].toInt()) + " (" + b["name"].toString().toStdString() + "):\n" +
            "  functionType: " + std::to_string(b["functionType"].toInt()) + (name.empty() ? "" : " (" + name + ")") +
            "\n  label: \"" + b["label"].toString().toStdString() + "\"\n  macroId: " +
            hex(static_cast<uint32_t>(b["macroId"].toInteger()), 8) + "\n  advancedKind: " +
            hex(static_cast<uint32_t>(b["advancedKind"].toInt()), 2) + "\n  comboCode: " +
            hex(static_cast<uint32_t>(b["comboCode"].toInteger()), 8) + "\n  advancedParam: " +
            hex(static_cast<uint32_t>(b["advancedParam"].toInt()), 8) + "\n  targetPath: \"" +
            b["targetPath"].toString().toStdString() + "\"\n";
        EXPECT_NE(text.find(block), std::string::npos) << block;
    }
    EXPECT_EQ(buttons[4].toObject()["label"].toString(), "Shift + Ctrl + S");
    EXPECT_EQ(shown["ledColour"].toArray()[0].toString(), "#0A0B0C");
}

TEST_F(ProfileCommandsTest, ShowJsonOfAFileHasNoProfileNumber) {
    const CliResult r = runIn({"show", "--json", profileFile(2)});
    ASSERT_EQ(r.status, 0);
    const QJsonObject shown = test::parseJson(r.out).object();
    EXPECT_FALSE(shown.contains("profile"));
    EXPECT_EQ(shown["file"].toString().toStdString(), profileFile(2));
    EXPECT_EQ(shown["buttons"].toArray().size(), kButtonCount);
}

TEST_F(ProfileCommandsTest, ProfileJsonIsTheWholeOutput) {
    VirtualEnvironment env(nullptr);
    QJsonObject shown = test::parseJson(runIn({"--json", "profile"}).out).object();
    EXPECT_EQ(shown["profile"].toInt(), 1);
    EXPECT_EQ(shown["file"].toString().toStdString(), profileFile(1));
    EXPECT_FALSE(shown.contains("applied"));

    const CliResult r = onMouse({"profile", "5", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    QJsonParseError error;
    shown = test::parseJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
    EXPECT_EQ(shown["profile"].toInt(), 5);
    EXPECT_EQ(shown["file"].toString().toStdString(), profileFile(5));
    EXPECT_TRUE(shown["applied"].toBool());
    EXPECT_EQ(runIn({"profile"}).out, currentLine(5));
}

}  // namespace
}  // namespace q30x
