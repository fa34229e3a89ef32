// The main window when the mouse misbehaves: pulled out in the middle of an
// apply or a macro upload, a firmware that answers nonsense, an interface
// that never takes a report, a cable that cannot make up its mind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include "app/event_loop_probe.h"
#include "device/firmware_version.h"
#include "device/key_codes.h"
#include "device/presence_handler.h"
#include "pages/dlg_main_set.h"
#include "pages/dlg_support.h"
#include "platform/messages.h"
#include "tests/faults/held_limits.h"
#include "tests/faults/holding_clock.h"
#include "tests/support/recording_target.h"
#include "tests/support/main_window_fixture.h"

namespace q30x {
namespace {

using test::pump;

constexpr const char* kRemovalMessage = "countdown: The Q30x gaming mouse cannot be found.";

// Runs the window's events until `done` holds; false after `ms`.
bool runUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

bool contains(const std::vector<std::string>& shown, const std::string& text) {
    return std::find(shown.begin(), shown.end(), text) != shown.end();
}

std::string stepText(int step) { return "info: " + toUtf8(applyFailureText(step)); }

VirtualMouseConfig withFailures(const char* failures) { return readVirtualMouseConfig(failures, nullptr, nullptr).config; }

// ---- Pulled out mid-apply ----------------------------------------------------

struct Unplug {
    const char* name;
    const char* failure;  // where the mouse is pulled out
    int step;             // the step the apply reports
};

class UnplugTest : public test::MainWindowFixture, public ::testing::WithParamInterface<Unplug> {
protected:
    UnplugTest() : MainWindowFixture(withFailures(GetParam().failure)) {}

    // A macro recorded on the macro page and given to the middle button, so
    // every apply uploads one before its key table.
    void giveTheMiddleButtonAMacro(CQ52XDriverDlg& w) {
        const uint32_t id = recordMacroOfKeyA(w);
        press(w.tab(1));
        w.settings().current.buttons[1].functionType = kFunctionMacro;
        w.settings().macroRefs[1] = static_cast<int32_t>(id);
    }
};

TEST_P(UnplugTest, TheStepIsToldNothingIsSavedAndTheProgramEndsWithTheDeviceFreed) {
    CQ52XDriverDlg& w = start();
    bool ended = false;
    w.setOnClosed([&] { ended = true; });
    giveTheMiddleButtonAMacro(w);
    // The custom colours go out only in this mode.
    w.settings().current.lightingMode = 5;
    w.settings().current.symphonyCustom = 1;
    w.settings().current.reportInterval = 2;
    const auto profile = profileFile(1);
    const auto index = test::readAll(joinPath(folders.working, "Profile/ConfigInfo.cfg"));

    press(w.okButton());
    ASSERT_TRUE(runUntil([&] { return w.closed(); })) << "the removal ends the program";

    EXPECT_TRUE(ended);
    EXPECT_TRUE(contains(messages.shown, stepText(GetParam().step))) << ::testing::PrintToString(messages.shown);
    EXPECT_TRUE(contains(messages.shown, kRemovalMessage)) << ::testing::PrintToString(messages.shown);
    EXPECT_EQ(profileFile(1), profile);
    EXPECT_EQ(test::readAll(joinPath(folders.working, "Profile/ConfigInfo.cfg")), index);
    EXPECT_FALSE(mouse.plugged());
    EXPECT_EQ(mouse.state().reportRate, -1) << "nothing after the failed step reached the mouse";
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(w.hooks().installed());
    // The worker has ended: whatever transfer was under way has let go of
    // the device, which is gone for good (a sanitizer build would report
    // any later touch of it).
    EXPECT_EQ(mouse.openHandles(), 0);
    EXPECT_TRUE(mouse.state().protocolErrors.empty()) << mouse.state().protocolErrors.front();
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, UnplugTest,
    ::testing::Values(Unplug{"KeyTable", "12:unplug", kStepKeyTable},
                      Unplug{"KeyTableData", "12:out-unplug", kStepKeyTable},
                      Unplug{"LightColour", "0c:unplug", kStepLightColour},
                      Unplug{"LightingEffect", "0d:unplug", kStepLightingEffect},
                      Unplug{"CustomColours", "09:unplug", kStepCustomColours},
                      Unplug{"CustomColoursData", "09:out-unplug", kStepCustomColours},
                      Unplug{"Proximity", "03:unplug", kStepProximity},
                      Unplug{"DpiTable", "11:unplug", kStepDpiTable},
                      Unplug{"DpiTableData", "11:out-unplug", kStepDpiTable},
                      // A macro's upload is not checked: the key table after it finds the mouse gone.
                      Unplug{"MacroCommand", "13:unplug", kStepKeyTable},
                      Unplug{"MacroPayload", "13:out-unplug", kStepKeyTable}),
    [](const ::testing::TestParamInfo<Unplug>& info) { return std::string(info.param.name); });

// ---- Pulled out and back while the worker holds the link ---------------------

class ReplugDuringApplyTest : public test::MainWindowFixture {
protected:
    // The worker stops in the pause between the key table's command and its data.
    ReplugDuringApplyTest()
        : MainWindowFixture({}, std::make_unique<test::HoldingClock>([](uint32_t ms) { return ms == kDataPhasePauseMs; })),
          holding(static_cast<test::HoldingClock&>(linkClock)) {}
    test::HoldingClock& holding;
};

TEST_F(ReplugDuringApplyTest, TheWindowLeavesTheLinkToTheWorkerAndEndsAtTheOutcome) {
    CQ52XDriverDlg& w = start();
    const int requestsBefore = mouse.state().firmwareRequests;
    QTimer::singleShot(0, &w, [&] {
        ASSERT_TRUE(holding.waitForHold());
        mouse.setPlugged(false);
        ASSERT_TRUE(runUntil([&] { return !link.isOpen(); }));
        mouse.setPlugged(true);
        // What the window would do with the arrival, it has done by now.
        runUntil([] { return false; }, 200);
        holding.release();
    });
    press(w.okButton());
    ASSERT_TRUE(runUntil([&] { return w.closed(); }));
    EXPECT_TRUE(contains(messages.shown, stepText(kStepKeyTable))) << ::testing::PrintToString(messages.shown);
    EXPECT_TRUE(contains(messages.shown, kRemovalMessage));
    // Not one frame of the window's thread went between the worker's command and its data.
    EXPECT_TRUE(mouse.state().protocolErrors.empty()) << mouse.state().protocolErrors.front();
    EXPECT_EQ(mouse.state().firmwareRequests, requestsBefore);
    EXPECT_EQ(mouse.openHandles(), 0);
}

// ---- Pulled out while a page's popup is open ---------------------------------

class UnplugUnderAPopupTest : public test::MainWindowFixture {};

TEST_F(UnplugUnderAPopupTest, TheProgramEndsOnceThePopupHasGoneAndItsPageWithIt) {
    CQ52XDriverDlg& w = start();
    auto* page = static_cast<CDlgMainSet*>(w.page(1));
    bool popupSeen = false, closedByTest = false;
    QTimer::singleShot(0, &w, [&] {
        popupSeen = QApplication::activeModalWidget() != nullptr;
        mouse.setPlugged(false);
        // The removal is taken while the popup's own event loop runs; the
        // program closes the popup itself.
        if (!runUntil([] { return QApplication::activeModalWidget() == nullptr; }, 2000)) {
            closedByTest = true;
            QApplication::activeModalWidget()->close();
        }
    });
    // The middle button's tab opens its assignment popup and waits in it.
    page->port()->send(msg::kCommand, 0, MessagePort::handle(page->tab(1)));
    EXPECT_FALSE(w.closed()) << "not from inside the popup's loop, with the page's code under it";
    ASSERT_TRUE(runUntil([&] { return w.closed(); }));
    EXPECT_TRUE(popupSeen);
    EXPECT_FALSE(closedByTest);
    EXPECT_TRUE(contains(messages.shown, kRemovalMessage));
    EXPECT_FALSE(link.isOpen());
}

// ---- A firmware that answers nonsense ----------------------------------------

struct Garbled {
    const char* name;
    std::array<uint8_t, 8> answer;
    std::u16string text;  // as the support page keeps it
    std::u16string label;
};

class GarbledAnswerTest : public test::MainWindowFixture, public ::testing::WithParamInterface<Garbled> {
protected:
    static VirtualMouseConfig answering(const std::array<uint8_t, 8>& answer) {
        VirtualMouseConfig config;
        config.versionAnswer = answer;
        return config;
    }
    GarbledAnswerTest() : MainWindowFixture(answering(GetParam().answer)) {}
};

TEST_P(GarbledAnswerTest, GivesADefinedVersionAtStartAndAfterAReplug) {
    CQ52XDriverDlg& w = start();
    ASSERT_TRUE(w.initialised());
    EXPECT_EQ(w.supportPage()->firmwareVersionText(), GetParam().text);
    EXPECT_EQ(firmwareVersionLabel(w.supportPage()->firmwareVersionText()), GetParam().label);
    w.shutdown();

    // An arrival reads it again, the same way.
    VirtualMouse returning(answering(GetParam().answer), clock);
    CUSBDriver returned(returning, clock);
    InputHooks hooks(input);
    test::RecordingTarget target;
    DevicePresence presence(returned, hooks, target, language, clock);
    DevicePresence::Action arrival;
    presence.onDeviceChange({kDeviceArrived, true, usbInterfacePath(0x3C1F, 0x7E02, "1-4")}, arrival);
    EXPECT_TRUE(arrival.firmwareVersionChanged);
    EXPECT_EQ(arrival.firmwareVersionText, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, GarbledAnswerTest,
    ::testing::Values(Garbled{"AllOnes", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, u"", u"Unknown"},
                      Garbled{"Silence", {}, u"", u"Unknown"},
                      Garbled{"OneByteLate", {0x00, 0x80, 0x01, 0x02}, u"", u"Unknown"},
                      Garbled{"DigitsOutOfRange", {0x80, 0xFF, 0xFF, 0x5A, 0xA5, 0x00, 0xFF, 0x01}, u"2805", u"V 28.0.5"},
                      Garbled{"VersionZero", {0x80, 0x00, 0x00, 0xFF}, u"", u"Unknown"}),
    [](const ::testing::TestParamInfo<Garbled>& info) { return std::string(info.param.name); });

// ---- An interface that never takes a report ----------------------------------

class StallingMouseTest : public test::MainWindowFixture {
protected:
    // The worker stops inside the first stall until the test has looked at the window.
    StallingMouseTest()
        : MainWindowFixture(withFailures("stall"),
                            std::make_unique<test::HoldingClock>([](uint32_t ms) { return ms == kPendingWriteBoundMs; })),
          holding(static_cast<test::HoldingClock&>(linkClock)) {}
    test::HoldingClock& holding;
};

TEST_F(StallingMouseTest, EachApplyFailsItsFirstStepWithinOneBoundAndTheWindowAnswersMeanwhile) {
    CQ52XDriverDlg& w = start();
    holding.clearSleeps();
    EventLoopProbe probe(&w);
    int ticksWhileStalled = 0;
    QTimer::singleShot(0, &w, [&] {
        ASSERT_TRUE(holding.waitForHold());
        // The worker sits in the stall; the window's thread runs on.
        probe.start();
        w.port()->post(msg::kShowHint, 0, CQ52XDriverDlg::kHintOk);
        EXPECT_TRUE(runUntil([&] { return !w.hintText().isEmpty(); }, 1000)) << "a hint posted meanwhile is shown";
        runUntil([&] { return probe.ticks() >= 10; });
        ticksWhileStalled = probe.ticks();
        probe.stop();
        holding.release();
    });
    press(w.okButton());
    runUntil([&] { return !messages.shown.empty(); });
    EXPECT_EQ(messages.shown, std::vector<std::string>{stepText(kStepKeyTable)});
    EXPECT_GE(ticksWhileStalled, 10);
    if (test::kLimitsHeld) {
        EXPECT_LE(probe.longestOwnGapMs(), test::kMaxWindowWaitMs) << probe.report();
    }
    // One bound and the pacing before it: the start, seven buttons, the key
    // table's command and the pauses around its first report.
    const auto sleeps = holding.sleeps();
    EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), kPendingWriteBoundMs), 1);
    EXPECT_EQ(holding.sleptMs(), 50u + 7 * 50 + 100 + 50 + kPendingWriteBoundMs + 50);
    EXPECT_NE(traceText.str().find(" FAILED"), std::string::npos);

    // Every write stalls, not just the first: the next apply fails the same way.
    messages.shown.clear();
    holding.clearSleeps();
    press(w.okButton());
    runUntil([&] { return !messages.shown.empty(); });
    EXPECT_EQ(messages.shown, std::vector<std::string>{stepText(kStepKeyTable)});
    EXPECT_EQ(holding.sleptMs(), 50u + 7 * 50 + 100 + 50 + kPendingWriteBoundMs + 50);
    EXPECT_TRUE(w.applyWorker().applyReady());
    EXPECT_FALSE(w.closed()) << "a stalling mouse is still there";
}

// ---- A cable that cannot make up its mind ------------------------------------

class PlugStormTest : public test::MainWindowFixture {
protected:
    // The link paces in real time here, as the program does: the firmware
    // read after an arrival really waits on the window's thread.
    PlugStormTest() : MainWindowFixture({}, std::make_unique<RealClock>()) {}
};

TEST_F(PlugStormTest, FiftyPairsInASecondNeverHoldTheWindowAndEndItOnce) {
    CQ52XDriverDlg& w = start();
    int closes = 0;
    EventLoopProbe probe(&w);
    w.setOnClosed([&] { ++closes; });
    probe.start();
    std::atomic<bool> stormOver{false};
    std::thread cable([&] {
        for (int pair = 0; pair < 50; ++pair) {
            mouse.setPlugged(false);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            mouse.setPlugged(true);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        stormOver = true;
    });
    runUntil([&] { return stormOver.load(); }, 5000);
    cable.join();
    runUntil([] { return false; }, 300);  // what the storm left pending
    probe.stop();

    EXPECT_TRUE(w.closed());
    EXPECT_EQ(closes, 1);
    RecordProperty("longest_event_loop_gap_ms", static_cast<int>(probe.longestGapMs()));
    if (test::kLimitsHeld) {
        EXPECT_LE(probe.longestOwnGapMs(), test::kMaxWindowWaitMs) << probe.report();
    }
    EXPECT_TRUE(contains(messages.shown, kRemovalMessage));
    // Nothing was opened, hooked or shown for the program that has ended.
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(mouse.openHandles(), 0);
    EXPECT_FALSE(w.hooks().installed());
}

}  // namespace
}  // namespace q30x
