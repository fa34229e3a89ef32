#include "device/apply_worker.h"

#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <sstream>

#include "macros/payload_encoder.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "platform/virtual/virtual_mouse.h"
#include "tests/support/recording_target.h"

namespace q30x {
namespace {

using Message = test::RecordingTarget::Message;

// What the main window got besides the settings-change notices.
std::vector<Message> outcomes(const test::RecordingTarget& window) {
    std::vector<Message> out;
    for (const auto& m : window.messages())
        if (m.message != msg::kSettingChange) out.push_back(m);
    return out;
}

bool hasOutcome(const std::vector<Message>& messages) {
    for (const auto& m : messages)
        if (m.message == msg::kApplySucceeded || m.message == msg::kApplyFailed) return true;
    return false;
}

class ApplyWorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        fillProfileDefaults(state->current, 0);
        language.languageNumber = 2;
        hooks.installHooks(&main);
    }

    void openMouse(const char* fail = nullptr) {
        VirtualConfigRead read = readVirtualMouseConfig(fail, nullptr, nullptr);
        ASSERT_EQ(read.error, "");
        mouse = std::make_unique<VirtualMouse>(read.config, clock);
        link = std::make_unique<CUSBDriver>(*mouse, clock, &trace);
        ASSERT_TRUE(link->openDevice());
        out.str("");
        clock.clearSleeps();
        worker = std::make_unique<ApplyWorker>(
            ApplyContext{*link, *state, *macros, language, hooks, desktop, &trace});
        worker->setMainWindow(&main);
    }

    int apply() { return worker->applyProfile(progress); }

    std::vector<uintptr_t> percents() const {
        std::vector<uintptr_t> out;
        for (const auto& m : progress.messages())
            if (m.message == msg::kApplyProgress) out.push_back(m.wParam);
        return out;
    }

    // A macro of `keys` key taps in slot `slot`, listed under group 1.
    uint32_t addMacro(int slot, uint32_t id, int keys) {
        MacroRecord& record = macros->slots[slot];
        record.size = kMacroBaseSize + 4 * 2 * keys;
        record.magic = kMacroMagic;
        record.id = id;
        record.loopCount = 1;
        record.eventCount = 2 * keys;
        for (int k = 0; k < keys; ++k) {
            record.events[2 * k] = macroEvent(kEventKeyDown, 0x41 + k);
            record.events[2 * k + 1] = macroEvent(kEventKeyUp, 0x41 + k);
        }
        return id;
    }

    void assignMacro(int button, uint32_t id) {
        state->current.buttons[button].functionType = 6;
        state->current.buttons[button].macroId = static_cast<int32_t>(id);
        state->macroRefs[button] = static_cast<int32_t>(id);
    }

    FakeClock clock;
    std::ostringstream out;
    Trace trace{out};
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<CUSBDriver> link;
    std::unique_ptr<SettingsState> state = std::make_unique<SettingsState>();
    std::unique_ptr<MacroLibrary> macros = std::make_unique<MacroLibrary>();
    LanguageState language;
    QuietInputSource source{true};
    InputHooks hooks{source};
    RecordingDesktopMouseSettings desktop;
    test::RecordingTarget progress;
    test::RecordingTarget main;
    std::unique_ptr<ApplyWorker> worker;
};

// Every line of an apply of the factory profile, as the mouse receives it.
constexpr const char* kDefaultProfileTrace =
    // one pause per button with a key-table entry
    "SLEEP 50\nSLEEP 50\nSLEEP 50\nSLEEP 50\nSLEEP 50\nSLEEP 50\nSLEEP 50\n"
    // key table: left, right, middle, the fixed entry, back, forward, ..., wheel forward, wheel backward
    "SET_FEATURE 06 12 01 00 40 00 00 00 00\nSLEEP 100\n"
    "SLEEP 50\nOUTPUT 06 01 00 f0 00 01 00 f1 00 01 00 f2 00 07 00 03 00 01 00 f3 00 01 00 f4 00 00 00 00 00 00 00 00 00\nSLEEP 50\n"
    "SLEEP 50\nOUTPUT 06 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 04 00 01 00 04 00 02 00\nSLEEP 50\n"
    // light colour G R B of 0x000000FF, then the colour-cycle effect at speed 4 with its own colours
    "SET_FEATURE 06 0c 01 00 ff 00 00 00 00\n"
    "SET_FEATURE 06 0d 01 05 04 00 00 00 00\n"
    // proximity sensing on
    "SET_FEATURE 06 03 a0 00 00 00 00 00 00\n"
    // DPI table 750 1250 1500 2000 2500 3500 4000, twice, each run closed by 02; then level 3
    "SET_FEATURE 06 11 01 07 10 00 00 00 00\n"
    "SLEEP 50\nOUTPUT 06 LEVELS\nSLEEP 50\n"
    "SET_FEATURE 06 0b 01 03 00 00 00 00 00\n"
    "DESKTOP 4 0 0 0\nDESKTOP 113 10\nDESKTOP 105 3\n"
    "SET_FEATURE 06 01 01 00 00 00 00 00 00\n"
    "SLEEP 300\n";

TEST_F(ApplyWorkerTest, DefaultProfileGoesOutFrameByFrame) {
    openMouse();
    ASSERT_EQ(apply(), kApplySucceeded);
    std::string expected = kDefaultProfileTrace;
    std::string levels = hexBytes(buildDpiTable(state->current));
    for (int i = 0; i < 16; ++i) levels += " 00";
    expected.replace(expected.find("LEVELS"), 6, levels);
    EXPECT_EQ(out.str(), expected);
    EXPECT_EQ(percents(), (std::vector<uintptr_t>{0, 7, 14, 21, 28, 35, 42, 60, 70, 75, 80, 90, 100}));
    EXPECT_EQ(outcomes(main), (std::vector<Message>{{msg::kApplySucceeded, 0, 0, false}}));
    EXPECT_TRUE(mouse->state().protocolErrors.empty());
    EXPECT_EQ(mouse->state().reportRate, 1);
}

TEST_F(ApplyWorkerTest, DpiTableOfTheFactoryProfile) {
    // Checked on its own so the full-trace test above is not the only witness.
    DpiTable table = buildDpiTable(state->current);
    openMouse();
    apply();
    EXPECT_EQ(mouse->state().dpiTable, table);
    EXPECT_EQ(mouse->state().dpiLevel, 3);
}

TEST_F(ApplyWorkerTest, CustomColoursOnlyForTheColourCycleWithItsOwnColours) {
    struct Case {
        int32_t mode, custom;
        bool sent;
    };
    for (Case c : {Case{5, 1, true}, Case{5, 0, false}, Case{1, 1, false}}) {
        state->current.lightingMode = c.mode;
        state->current.symphonyCustom = c.custom;
        state->current.ledColour[0] = 0x00332211;
        openMouse();
        ASSERT_EQ(apply(), kApplySucceeded);
        EXPECT_EQ(mouse->state().customColoursSet, c.sent) << c.mode << " " << c.custom;
        EXPECT_EQ(out.str().find("SET_FEATURE 06 09 01 00 20") != std::string::npos, c.sent);
        if (c.sent) {
            EXPECT_EQ(mouse->state().customColours[0], 0x11);
        }
        // The 70 % mark follows the effect, or the custom colours when they go out.
        EXPECT_EQ(percents()[8], 70u);
        progress.clear();
    }
}

TEST_F(ApplyWorkerTest, MacroButtonsAreNumberedInButtonOrderAndMissingMacrosGetNoCode) {
    uint32_t first = addMacro(3, 0x01000100, 2);
    uint32_t second = addMacro(7, 0x01000200, 1);
    assignMacro(1, first);            // middle: macro number 1
    assignMacro(3, 0x01000999);       // forward: deleted macro
    assignMacro(4, second);           // back: macro number 2
    openMouse();
    ASSERT_EQ(apply(), kApplySucceeded);
    VirtualMouseState st = mouse->state();
    EncodedMacro one = encodeMacroPayload(macros->slots[3], 2), two = encodeMacroPayload(macros->slots[7], 2);
    EXPECT_TRUE(st.macroSet[1]);
    EXPECT_TRUE(st.macroSet[2]);
    EXPECT_FALSE(st.macroSet[3]);
    EXPECT_EQ(st.macros[1], one.payload);
    EXPECT_EQ(st.macros[2], two.payload);
    auto entry = [&](int position) { return std::vector<uint8_t>(st.keyTable.begin() + 4 * position, st.keyTable.begin() + 4 * position + 4); };
    EXPECT_EQ(entry(2), (std::vector<uint8_t>{0x09, 0x00, 0x01, static_cast<uint8_t>(one.wordCount)}));
    EXPECT_EQ(entry(4), (std::vector<uint8_t>{0x09, 0x00, 0x02, static_cast<uint8_t>(two.wordCount)}));
    EXPECT_EQ(entry(5), (std::vector<uint8_t>{0, 0, 0, 0}));
    // Each upload is followed by 50 ms, each stored code by 50 ms: the deleted macro's button too.
    std::string text = out.str();
    EXPECT_EQ(text.find("SET_FEATURE 06 13 01 01 00 02"), text.rfind("SET_FEATURE 06 13 01 01 00 02"));
    EXPECT_EQ(text.find("SET_FEATURE 06 13 01 03"), std::string::npos);
}

TEST_F(ApplyWorkerTest, AdvancedActionsStayInterceptedAndEveryOtherCodeIsRemoved) {
    state->current.buttons[1].functionType = 19;  // middle opens a folder
    hooks.addIntercept(0x201);
    hooks.addIntercept(0x20A01);
    openMouse();
    ASSERT_EQ(apply(), kApplySucceeded);
    auto table = hooks.interceptTable();
    EXPECT_EQ(std::count(table.begin(), table.end(), 0x207), 1);
    EXPECT_EQ(std::count_if(table.begin(), table.end(), [](int32_t c) { return c != 0; }), 1);
    // The mouse keeps the middle button's own function.
    EXPECT_EQ(mouse->state().keyTable[8], 0x01);
    EXPECT_EQ(mouse->state().keyTable[10], 0xF2);
}

TEST_F(ApplyWorkerTest, EachFailingStepStopsTheApplyAndClosesTheProgressWindow) {
    struct Case {
        const char* fail;
        int step;
        const char* text;
        uintptr_t lastPercent;
    };
    const Case cases[] = {
        {"12", 0, "write mousekey metix fail.\n", 42},   {"12:out", 0, "write mousekey metix fail.\n", 42},
        {"0c", 1, "Write mouse LED color failed.\n", 60}, {"0d", 2, "Write mouse effect failed.\n", 60},
        {"09", 3, "Write LED color123 failed.\n", 60},    {"09:out", 3, "Write LED color123 failed.\n", 60},
        {"03", 4, "Write mouse touch failed.\n", 70},     {"11", 5, "Write mouse DPI failed.\n", 75},
        {"11:out", 5, "Write mouse DPI failed.\n", 75},
    };
    for (const auto& c : cases) {
        state->current.symphonyCustom = 1;
        openMouse(c.fail);
        progress.clear();
        EXPECT_EQ(apply(), c.step) << c.fail;
        EXPECT_EQ(toUtf8(applyFailureText(c.step)), c.text);
        EXPECT_EQ(percents().back(), c.lastPercent) << c.fail;
        EXPECT_EQ(progress.messages().back(), (Message{msg::kClose, 0, 0, false})) << c.fail;
        EXPECT_EQ(outcomes(main).back(), (Message{msg::kApplyFailed, 0, c.step, false})) << c.fail;
        EXPECT_TRUE(desktop.calls().empty()) << "nothing after the failing step";
    }
    EXPECT_TRUE(applyFailureText(6).empty());
}

TEST_F(ApplyWorkerTest, UncheckedCommandsDoNotFailTheApply) {
    openMouse("0b,01,13");
    assignMacro(2, addMacro(0, 0x02000001, 1));
    EXPECT_EQ(apply(), kApplySucceeded);
}

TEST_F(ApplyWorkerTest, DesktopSettingsFollowTheProfileAndWaitForTheWindow) {
    state->current.enhancePointerPrecision = 1;
    state->current.pointerSpeed = 17;
    state->current.wheelScrollLines = -1;
    openMouse();
    apply();
    using Call = RecordingDesktopMouseSettings::Call;
    EXPECT_EQ(desktop.calls(), (std::vector<Call>{{4, {6, 10, 1}}, {113, {17}}, {105, {-1}}}));
    std::vector<uintptr_t> notices;
    for (const auto& m : main.messages())
        if (m.message == msg::kSettingChange) {
            EXPECT_TRUE(m.sent);
            notices.push_back(m.wParam);
        }
    EXPECT_EQ(notices, (std::vector<uintptr_t>{4, 113, 105}));
    EXPECT_NE(out.str().find("DESKTOP 4 6 10 1\nDESKTOP 113 17\nDESKTOP 105 -1\n"), std::string::npos);
}

TEST_F(ApplyWorkerTest, PausesAddUpToTheMandatedPacing) {
    openMouse();
    apply();
    uint32_t total = 0;
    for (uint32_t ms : clock.sleeps()) total += ms;
    // 50 per button, the key table's 100 and two reports with 50 before and after each,
    // the DPI table's 50 and one report with 50 after it, and 300 at the end; plain
    // command frames add nothing.
    EXPECT_EQ(total, 7 * 50 + (100 + 2 * (50 + 50)) + (50 + 50) + 300u);
}

TEST_F(ApplyWorkerTest, TheThreadAppliesOncePerTrigger) {
    openMouse();
    worker->start(&progress);
    ASSERT_TRUE(worker->requestApply());
    ASSERT_TRUE(main.waitUntil(hasOutcome));
    EXPECT_FALSE(worker->applyReady());
    EXPECT_FALSE(worker->requestApply());  // refused until the outcome was handled
    worker->rearm();
    EXPECT_TRUE(worker->applyReady());
    worker->stop();
    EXPECT_EQ(outcomes(main), (std::vector<Message>{{msg::kApplySucceeded, 0, 0, false}}));
    EXPECT_EQ(clock.sleeps().front(), 50u);  // the pause before the apply begins
}

TEST_F(ApplyWorkerTest, WithoutAMainWindowTheProgressWindowIsClosed) {
    openMouse();
    worker->setMainWindow(nullptr);
    worker->start(&progress);
    worker->requestApply();
    ASSERT_TRUE(progress.waitForCount(1));
    worker->stop();
    EXPECT_EQ(progress.messages(), (std::vector<Message>{{msg::kClose, 0, 0, false}}));
    EXPECT_TRUE(mouse->state().framesAccepted == 0);
}

TEST_F(ApplyWorkerTest, StopEndsAWaitingThread) {
    openMouse();
    worker->start(&progress);
    worker->stop();
    EXPECT_TRUE(progress.messages().empty());
}

}  // namespace
}  // namespace q30x
