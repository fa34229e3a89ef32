#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <memory>

#include "app/standalone_state.h"
#include "buttons/function_names.h"
#include "pages/dlg_led_set.h"
#include "pages/dlg_main_set.h"
#include "pages/main_set_model.h"
#include "skin/bitmap_button.h"
#include "skin/bitmap_edit.h"
#include "skin/color_btn.h"
#include "skin/slider.h"
#include "tests/cli/cli_fixture.h"
#include "tests/cli/parse_json.h"
#include "tests/support/recording_target.h"

namespace q30x {
namespace {

const std::string kProgramFolder = Q30X_TEST_PROGRAM_DIR;

// "#RRGGBB" as the stored 0x00BBGGRR.
uint32_t storedColour(const QJsonValue& text) {
    const uint32_t rgb = text.toString().mid(1).toUInt(nullptr, 16);
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

// What `q30xctl set` stored, read back by `show --json` and by the two
// settings pages as the program's Refresh shows them from the same folder.
TEST(SetThenShown, ShowAndTheRefreshedPagesAgree) {
    const std::vector<std::vector<std::string>> cases = {
        {"dpi=7000,1000,3250", "rate=250", "speed=17", "precision=on", "height=4", "wheel=12",
         "button.back=combo:ctrl+shift+s", "button.right=Click", "button.left=Play/Pause", "button.wheelup=disabled",
         "lighting=steady", "brightness=8", "colour=preset:11", "proximity=off"},
        {"dpi=500", "rate=1000", "speed=1", "wheel=screen", "button.forward=SNIPE", "lighting=cycle",
         "cycle-custom=on", "cycle-colour1=#123456", "cycle-colour2=preset:20", "cycle-colour3=#FEDCBA",
         "breathing=5", "cycle-speed=3"},
        {"lighting=breathing", "breathing=2", "colour=#00FF80", "cycle-custom=off", "cycle-speed=1"},
    };
    for (const auto& settings : cases) {
        SCOPED_TRACE(settings.front());
        test::TempFolder work;
        const std::vector<std::string> folders{"--program-dir", kProgramFolder, "--workdir", work.path()};
        std::vector<std::string> words = folders;
        words.insert(words.end(), {"--virtual-mouse", "--no-delays", "set"});
        words.insert(words.end(), settings.begin(), settings.end());
        test::VirtualEnvironment env(nullptr);
        const test::CliResult set = test::runCli(words);
        ASSERT_EQ(set.status, 0) << set.err;
        words = folders;
        words.insert(words.end(), {"--json", "show"});
        const QJsonObject shown = test::parseJson(test::runCli(words).out).object();
        ASSERT_FALSE(shown.isEmpty());

        test::RecordedMessages messages;
        test::RecordingTarget mainWindow;
        auto world = std::make_unique<StandaloneState>(Folders{kProgramFolder, work.path()}, messages, mainWindow, 2);
        world->profiles.loadProfileIndexAndCurrent();
        CDlgMainSet mainSet(world->state, nullptr);
        CDlgLEDSet ledSet(world->state, nullptr);
        mainSet.Refresh();
        ledSet.Refresh();
        EXPECT_TRUE(messages.shown.empty());

        const QJsonArray dpi = shown["dpiLevels"].toArray();
        for (std::size_t i = 0; i < kOfferedDpiValues.size(); ++i) {
            bool listed = false;
            for (int slot = 0; slot < 7; ++slot) listed |= dpi[slot].toInt() == kOfferedDpiValues[i];
            EXPECT_EQ(mainSet.dpiButton(static_cast<int>(i))->checkedState(), listed ? 1 : 0) << kOfferedDpiValues[i];
        }
        EXPECT_EQ(mainSet.speedSlider()->position(), shown["pointerSpeed"].toInt());
        EXPECT_EQ(mainSet.heightSlider()->position(), shown["heightSetting"].toInt());
        EXPECT_EQ(mainSet.precisionBox()->checkedState(), shown["enhancePointerPrecision"].toInt());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(mainSet.rateRadio(i)->checkedState(), mainset::kRateHz[i] == shown["reportRateHz"].toInt() ? 1 : 0);
        const bool oneScreen = shown["wheelOneScreen"].toBool();
        EXPECT_EQ(mainSet.wheelScreenRadio()->checkedState(), oneScreen ? 1 : 0);
        if (!oneScreen) {
            EXPECT_EQ(mainSet.wheelEdit()->text().toInt(), shown["wheelScrollLines"].toInt());
        }
        const QJsonArray buttons = shown["buttons"].toArray();
        for (int i = 0; i < kButtonCount; ++i) {
            const QJsonObject b = buttons[i].toObject();
            // The tabs show a default name in the interface's wording.
            const std::u16string label = b["label"].toString().toStdU16String();
            EXPECT_EQ(mainSet.tab(i)->label().toStdU16String(), labelTranslation(label, 0)) << i;
            EXPECT_EQ(mainSet.tab(i)->marked(), b["functionType"].toInt() != kPhysicalButtons[i].defaultType) << i;
        }

        for (int mode = 1; mode <= 6; ++mode)
            EXPECT_EQ(ledSet.modeButton(mode)->checkedState(), shown["lightingMode"].toInt() == mode ? 1 : 0) << mode;
        EXPECT_EQ(ledSet.slider(CDlgLEDSet::kBrightnessId)->position(), shown["brightness"].toInt());
        EXPECT_EQ(ledSet.slider(CDlgLEDSet::kBreathingId)->position(), shown["breathingFrequency"].toInt());
        EXPECT_EQ(ledSet.slider(CDlgLEDSet::kCycleSpeedId)->position() * 2, shown["symphonySpeed"].toInt());
        EXPECT_EQ(ledSet.customCycleBox()->checkedState(), shown["symphonyCustom"].toInt());
        EXPECT_EQ(ledSet.proximityButton(true)->checkedState(), shown["proximitySensing"].toInt());
        const QJsonArray colours = shown["ledColour"].toArray();
        for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(ledSet.swatch(slot)->colour(), storedColour(colours[slot])) << slot;
        // The current colour slot shows its preset, or none for a colour of the user's own.
        const int slot = ledSet.currentSlot();
        for (int p = 0; p < 26; ++p) {
            const bool fromPreset = slot < 4 && shown["ledColourIsCustom"].toArray()[slot].toInt() == 0 &&
                                    shown["ledColourPreset"].toArray()[slot].toInt() == p;
            EXPECT_EQ(ledSet.presetButton(p)->checkedState(), fromPreset ? 1 : 0) << p;
        }
    }
}

}  // namespace
}  // namespace q30x
