#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <cstring>
#include <QMouseEvent>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdlib>
#include <mutex>
#include <sstream>

#include "device/key_codes.h"
#include "i18n/language_choice.h"
#include "macros/dlg_macro.h"
#include "pages/dlg_support.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "skin/bitmap_button.h"
#include "skin/irr_button.h"
#include "skin/list_box.h"
#include "skin/message_port.h"
#include "skin/window_messages.h"
#include "tests/support/main_window_fixture.h"

namespace q30x {
namespace {

class MainWindowTest : public test::MainWindowFixture {
protected:
    explicit MainWindowTest(const char* failures = nullptr, const char* firmware = nullptr)
        : MainWindowFixture(readVirtualMouseConfig(failures, firmware, nullptr).config) {}
};

using test::pump;

TEST_F(MainWindowTest, StartsOnTheMainPageWithTheStoredLanguageHooksAndUpdaterTimer) {
    CQ52XDriverDlg& w = start();
    EXPECT_TRUE(w.initialised());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "Tarvo Q30x Gaming Mouse Driver");
    EXPECT_EQ(w.size(), QSize(960, 650));
    EXPECT_EQ(w.currentPage(), 1);
    EXPECT_TRUE(w.tab(1)->marked());
    EXPECT_TRUE(w.page(1)->isVisible());
    for (int n = 2; n <= 5; ++n) EXPECT_FALSE(w.page(n)->isVisible()) << n;
    EXPECT_EQ(language.languageNumber, 2) << "the start-up message applied Language.cfg";
    EXPECT_EQ(w.tab(1)->text(), QString::fromStdU16String(strings.text("str_main")));
    EXPECT_TRUE(w.hooks().installed());
    EXPECT_TRUE(w.port()->hasTimer(CQ52XDriverDlg::kUpdaterTimer));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowTest, LeavingTheMacroPageClosesItsMenuAndStoresTheRecordingOnDiskBeforeTheEnd) {
    CQ52XDriverDlg& w = start();
    const uint32_t id = recordMacroOfKeyA(w);
    auto* macros = static_cast<CDlgMacro*>(w.page(3));
    macros->openGameMenu();
    press(w.tab(2));
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* menu = qobject_cast<QMenu*>(top)) {
            EXPECT_FALSE(menu->isVisible());
        }
    EXPECT_FALSE(macros->recording());
    w.shutdown();
    const std::vector<uint8_t> file = test::readAll(joinPath(folders.working, "Macro.cfg"));
    ASSERT_EQ(file.size(), sizeof(MacroLibrary));
    MacroRecord first;
    std::memcpy(static_cast<void*>(&first), file.data(), sizeof first);
    EXPECT_EQ(first.id, id);
    EXPECT_EQ(first.eventCount, 3u) << "A down, its delay, A up";
}

TEST_F(MainWindowTest, ControlsSitAtTheirPlaces) {
    CQ52XDriverDlg& w = start();
    EXPECT_EQ(w.minimizeButton()->geometry(), QRect(887, 2, 34, 31));
    EXPECT_EQ(w.hideButton()->geometry(), QRect(922, 2, 34, 31));
    EXPECT_EQ(w.languageButton()->geometry(), QRect(15, 617, 42, 18));
    EXPECT_EQ(w.page(1)->geometry(), QRect(15, 128, 925, 452));
    // Polygons: inside the slant takes the press, the box corner outside does not.
    EXPECT_TRUE(w.tab(2)->hitTest(w.tab(2)->mapFromParent(QPoint(300, 100))));
    EXPECT_FALSE(w.tab(2)->hitTest(w.tab(2)->mapFromParent(QPoint(195, 119))));
    EXPECT_TRUE(w.okButton()->hitTest(w.okButton()->mapFromParent(QPoint(900, 610))));
    EXPECT_FALSE(w.okButton()->hitTest(w.okButton()->mapFromParent(QPoint(808, 592))));
}

TEST_F(MainWindowTest, PagesThreeToFiveDisableTheProfilesAndOk) {
    CQ52XDriverDlg& w = start();
    const bool enabledOn[] = {true, true, false, false, false};
    for (int n : {3, 1, 4, 2, 5}) {
        press(w.tab(n));
        EXPECT_EQ(w.currentPage(), n);
        for (int t = 1; t <= 5; ++t) {
            EXPECT_EQ(w.tab(t)->marked(), t == n);
            EXPECT_EQ(w.page(t)->isVisible(), t == n);
        }
        for (int p = 1; p <= 5; ++p) EXPECT_EQ(w.profileButton(p)->isEnabled(), enabledOn[n - 1]) << n;
        EXPECT_EQ(w.okButton()->isEnabled(), enabledOn[n - 1]) << n;
    }
}

TEST_F(MainWindowTest, HoveringProfileThreeShowsItsHintUntilTheNextMoveElsewhere) {
    CQ52XDriverDlg& w = start();
    auto move = [&](QWidget* target, QPoint at) {
        QMouseEvent event(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
        pump();
    };
    CIrrButton* third = w.profileButton(3);
    move(third, third->rect().center());
    EXPECT_EQ(w.hintText(), QString::fromStdU16String(strings.text("str_profile3")));
    move(&w, QPoint(500, 40));
    EXPECT_TRUE(w.hintText().isEmpty());
    // The window's own surface within a pixel of a button counts too.
    move(&w, QPoint(w.okButton()->geometry().right() + 1, w.okButton()->geometry().center().y()));
    EXPECT_EQ(w.hintText(), QString::fromStdU16String(strings.text("str_ok")));
}

TEST_F(MainWindowTest, EnterEscapeAndSpaceDoNothingAndAltF4HidesToTheTray) {
    CQ52XDriverDlg& w = start();
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(w.tab(1), &press);
        QApplication::sendEvent(w.tab(1), &release);
        EXPECT_FALSE(press.isAccepted() && !w.isVisible()) << key;
        EXPECT_TRUE(w.isVisible()) << key;
    }
    QKeyEvent altF4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    QApplication::sendEvent(w.page(1), &altF4);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.closed()) << "Alt+F4 hides, it does not end the program";

    // A second copy's request (and the tray's double click) brings it back.
    w.port()->post(msg::kTrayNotify, 0, msg::kTrayDoubleClick);
    pump();
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, OkAppliesOnceAndSavesWhenTheMouseTookEverything) {
    CQ52XDriverDlg& w = start();
    w.settings().current.reportInterval = 8;
    w.settings().current.enhancePointerPrecision = 1;
    // A second press while the first apply runs finds the worker busy.
    QTimer::singleShot(0, &w, [&] { press(w.okButton()); });
    press(w.okButton());
    pump();
    EXPECT_EQ(mouse.state().reportRate, 8);
    EXPECT_TRUE(mouse.state().keyTableSet);
    EXPECT_EQ(desktop.calls().front(), (RecordingDesktopMouseSettings::Call{kSetMouse, {6, 10, 1}}));
    const auto saved = profileFile(1);
    ASSERT_EQ(saved.size(), sizeof(ProfileRecord));
    ProfileRecord record{};
    std::memcpy(&record, saved.data(), sizeof record);
    EXPECT_EQ(record.reportInterval, 8);
    EXPECT_EQ(record.enhancePointerPrecision, 1);
    EXPECT_TRUE(w.applyWorker().applyReady());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(desktop.calls().size(), 3u) << "one apply sets the three desktop settings once";
}

TEST_F(MainWindowTest, RestoreDefaultsFillsTheProfileClearsMacroReferencesAndApplies) {
    CQ52XDriverDlg& w = start();
    w.settings().current.reportInterval = 2;
    w.settings().current.buttons[1].functionType = 6;
    w.settings().macroRefs.fill(0x0101);
    w.port()->post(msg::kRestoreDefaults, 0, 0);
    pump();
    ProfileRecord defaults{};
    fillProfileDefaults(defaults, language.chineseUi);
    EXPECT_EQ(std::memcmp(&w.settings().current, &defaults, sizeof defaults), 0);
    for (int32_t ref : w.settings().macroRefs) EXPECT_EQ(ref, 0);
    EXPECT_EQ(mouse.state().reportRate, defaults.reportInterval);
    const auto saved = profileFile(1);
    ASSERT_EQ(saved.size(), sizeof defaults);
    EXPECT_EQ(std::memcmp(saved.data(), &defaults, sizeof defaults), 0);
}

TEST_F(MainWindowTest, AMiddleButtonOpeningAFolderReachesTheOpenerAsOneUntouchedArgument) {
    CQ52XDriverDlg& w = start();
    auto& middle = w.settings().current.buttons[1];
    middle.functionType = kFunctionAdvanced;
    middle.advancedKind = kAdvancedFolder;
    for (const std::u16string& path : {std::u16string(u"/home/u/My Games"), std::u16string(u"-rf odd")}) {
        setFixedText(middle.targetPath, path);
        launcher.launched.clear();
        w.port()->post(msg::kInputEvent, 0x207, 0);
        pump();
        ASSERT_EQ(launcher.launched.size(), 1u);
        EXPECT_EQ(launcher.launched[0].first, "xdg-open");
        const std::string expected = path[0] == u'-' ? "./" + toUtf8(path) : toUtf8(path);
        EXPECT_EQ(launcher.launched[0].second, std::vector<std::string>{expected});
    }
    // The left button and key presses never run anything.
    w.settings().current.buttons[0] = middle;
    launcher.launched.clear();
    w.port()->post(msg::kInputEvent, 0x201, 0);
    w.port()->post(msg::kInputEvent, 1, 0x10);
    pump();
    EXPECT_TRUE(launcher.launched.empty());
}

TEST_F(MainWindowTest, AdvancedButtonsAreInterceptedFromTheStart) {
    // The stored profile gives the back button a program.
    seedWorkingFolder(folders);
    ProfileRecord record{};
    fillProfileDefaults(record, 0);
    record.buttons[4].functionType = kFunctionAdvanced;
    record.buttons[4].advancedKind = kAdvancedProgram;
    setFixedText(record.buttons[4].targetPath, u"/usr/bin/true");
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    test::writeAll(joinPath(folders.working, profileFileName(1)), {bytes, bytes + sizeof record});
    CQ52XDriverDlg& w = start();
    EXPECT_TRUE(w.hooks().isIntercepted(0x1020B));
    EXPECT_FALSE(w.hooks().isIntercepted(0x207));
}

TEST_F(MainWindowTest, TheLanguagePopupsChoiceIsAppliedWrittenAndTheLabelsFollow) {
    CQ52XDriverDlg& w = start();
    w.port()->send(msg::kApplyLanguage, 0, 3);  // not open: ignored
    EXPECT_EQ(language.languageNumber, 2);
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w.languageButton(), &click);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w.languageButton(), &release);
    ASSERT_NE(w.languagePopup(), nullptr);
    w.port()->send(msg::kApplyLanguage, 0, 3);
    pump();
    EXPECT_EQ(language.languageNumber, 3);
    EXPECT_EQ(w.tab(2)->text(), QString::fromStdU16String(strings.text("str_led_title")));
    EXPECT_EQ(readLanguageChoice(folders, messages), 3);
    EXPECT_EQ(w.languagePopup(), nullptr);
    EXPECT_FALSE(w.flagImage().isNull());
}

TEST_F(MainWindowTest, SwitchingToAProfileWhoseFileIsNotAProfileKeepsTheCurrentOne) {
    test::writeAll(joinPath(folders.working, profileFileName(4)), {1, 2, 3});
    CQ52XDriverDlg& w = start();
    w.settings().current.reportInterval = 4;
    press(w.profileButton(4));
    EXPECT_EQ(w.settings().currentEntry, 0);
    EXPECT_EQ(w.settings().current.reportInterval, 4) << "unapplied edits survive";
    EXPECT_FALSE(w.profileButton(4)->marked());
    press(w.profileButton(2));
    EXPECT_EQ(w.settings().currentEntry, 1);
    EXPECT_TRUE(w.profileButton(2)->marked());
    for (int p : {1, 3, 4, 5}) EXPECT_FALSE(w.profileButton(p)->marked()) << p;
}

TEST_F(MainWindowTest, CountsFromTheHooksAreSavedAtTheSessionsEndAndAtShutdown) {
    CQ52XDriverDlg& w = start();
    const std::string stats = joinPath(folders.working, "Sts.cfg");
    auto post = [&w](std::initializer_list<uintptr_t> codes) {
        for (uintptr_t code : codes) w.port()->post(msg::kInputEvent, code, 0);
    };
    post({0x201, 0x201, 0x20A00, 0x2020B});
    pump();
    w.onQueryEndSession();
    auto saved = test::readAll(stats);
    EXPECT_EQ((std::vector<uint32_t>{test::u32At(saved, 0), test::u32At(saved, 8), test::u32At(saved, 16)}),
              (std::vector<uint32_t>{2, 0, 1}));
    post({0x204});
    pump();
    w.shutdown();
    saved = test::readAll(stats);
    EXPECT_EQ((std::vector<uint32_t>{test::u32At(saved, 0), test::u32At(saved, 8), test::u32At(saved, 16)}),
              (std::vector<uint32_t>{2, 1, 1}));
}

TEST_F(MainWindowTest, ClicksThatCameJustBeforeTheCloseAreCountedInTheSavedFile) {
    CQ52XDriverDlg& w = start();
    for (int click = 0; click < 3; ++click) w.port()->post(msg::kInputEvent, 0x207, 0);
    w.port()->post(msg::kClose, 0, 0);
    pump();
    ASSERT_TRUE(w.closed());
    EXPECT_EQ(test::u32At(test::readAll(joinPath(folders.working, "Sts.cfg")), 4), 3u);
}

TEST_F(MainWindowTest, TheTrayMenusCommandsShowAndEnd) {
    CQ52XDriverDlg& w = start();
    w.hideToTray();
    w.port()->post(msg::kCommand, CQ52XDriverDlg::kCommandConfig, 0);
    pump();
    EXPECT_TRUE(w.isVisible());
    bool ended = false;
    w.setOnClosed([&] { ended = true; });
    w.port()->post(msg::kCommand, CQ52XDriverDlg::kCommandExit, 0);
    pump();
    EXPECT_TRUE(ended);
    EXPECT_TRUE(w.closed());
    EXPECT_FALSE(w.hooks().installed());
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(w.page(1), nullptr);
    // Messages after the end find nothing to act on.
    w.port()->post(msg::kInputEvent, 0x207, 0);
    w.port()->post(msg::kShowHint, 0, 8);
    pump();
}

TEST_F(MainWindowTest, TheUpdaterStartsOnceWhenTheInstallHasIt) {
    CQ52XDriverDlg& w = start();
    w.port()->send(msg::kTimer, CQ52XDriverDlg::kUpdaterTimer, 0);
    EXPECT_FALSE(w.port()->hasTimer(CQ52XDriverDlg::kUpdaterTimer));
    EXPECT_TRUE(launcher.launched.empty()) << "a missing updater is not started, nor reported";
    EXPECT_TRUE(messages.shown.empty());
}

// A server that never answers: every download fails at once.
struct UnreachableServer final : Downloader {
    std::mutex mutex;
    std::vector<std::string> urls;
    DownloadResult download(const std::string& url, const std::string&, const DownloadLimits&,
                            const std::function<bool()>&) override {
        std::lock_guard lock(mutex);
        urls.push_back(url);
        return DownloadResult::Failed;
    }
};

TEST_F(MainWindowTest, UpdateButtonAsksTheMakersServerAndTellsWhenItCannotBeReached) {
    ::unsetenv(kUpdateUrlVariable);
    UnreachableServer server;
    services.downloader = &server;
    CQ52XDriverDlg& w = start();
    w.supportPage()->updateButton()->click();
    QElapsedTimer waited;
    waited.start();
    while (messages.shown.empty() && waited.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"info: The update server cannot be reached."});
    EXPECT_EQ(server.urls, std::vector<std::string>{"https://www.tarvo.com/software/q30X/update.xml"});
    EXPECT_TRUE(w.updateCheck()->idle());
    w.shutdown();
}

class FailingMouseTest : public MainWindowTest {
protected:
    FailingMouseTest() : MainWindowTest("11", "7") {}
};

TEST_F(FailingMouseTest, AFailedStepShowsItsTextRearmsAndSavesNothing) {
    CQ52XDriverDlg& w = start();
    EXPECT_EQ(w.supportPage()->firmwareVersionText(), u"7");
    const auto before = profileFile(1);
    w.settings().current.reportInterval = 8;
    press(w.okButton());
    pump();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "info: " + toUtf8(applyFailureText(kStepDpiTable)));
    EXPECT_EQ(profileFile(1), before);
    EXPECT_TRUE(w.applyWorker().applyReady());
    EXPECT_FALSE(w.okButton()->marked());
}

class AbsentMouseTest : public MainWindowTest {
protected:
    AbsentMouseTest() : MainWindowTest("open") {}
};

TEST_F(AbsentMouseTest, StartingWithoutTheMouseTellsSoAndEnds) {
    bool ended = false;
    window = std::make_unique<CQ52XDriverDlg>(services, language, strings, messages);
    window->setOnClosed([&] { ended = true; });
    window->initialise();
    pump();
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.front(), "countdown: The Q30X gaming mouse cannot be found.");
    EXPECT_TRUE(window->mouseMissing());
    EXPECT_TRUE(ended);
    EXPECT_FALSE(window->isVisible());
}

class LoaderTest : public MainWindowTest {
protected:
    LoaderTest() { usb = VirtualUsbDevices(true); }
};

TEST_F(LoaderTest, TheFirmwareLoaderHandsOverToTheBurnerAndEnds) {
    bool ended = false;
    window = std::make_unique<CQ52XDriverDlg>(services, language, strings, messages);
    window->setOnClosed([&] { ended = true; });
    window->initialise();
    pump();
    ASSERT_EQ(launcher.launched.size(), 1u);
    EXPECT_EQ(launcher.launched[0].first, joinPath(folders.program, "FWUpdate/ZazezaVI"));
    EXPECT_EQ(launcher.launched[0].second, std::vector<std::string>{"0"});
    EXPECT_TRUE(ended);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(link.isOpen());
}

}  // namespace
}  // namespace q30x
