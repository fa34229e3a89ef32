#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "macros/dlg_macro.h"
#include "platform/utf16.h"
#include "platform/virtual/instant_clock.h"
#include "platform/virtual/virtual_mouse.h"
#include "platform/virtual/virtual_plugging.h"
#include "platform/virtual/virtual_usb_devices.h"
#include "skin/bitmap_button.h"
#include "skin/irr_button.h"
#include "skin/list_box.h"
#include "skin/message_port.h"
#include "skin/window_messages.h"
#include "tests/support/bytes.h"
#include "tests/support/recording_launcher.h"
#include "tests/support/temp_folder.h"

namespace q30x::test {

// Every box the window would show, recorded instead of run modally.
struct RecordingWindowMessages final : WindowMessages {
    using WindowMessages::WindowMessages;
    std::vector<std::string> shown;
    void info(std::u16string_view text) override { shown.push_back("info: " + toUtf8(text)); }
    void standard(std::u16string_view text, std::u16string_view) override { shown.push_back("standard: " + toUtf8(text)); }
    void countdown(std::u16string_view text) override { shown.push_back("countdown: " + toUtf8(text)); }
};

inline void pump() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// The program's main window on the offscreen platform against the virtual
// mouse, whose plugging it follows, with recorded launches, sounds, desktop
// settings and boxes. English unless a test stores another language. Start-up
// and shutdown waits take no time; the link paces with `linkClock`, the
// instant clock unless the test brings its own.
class MainWindowFixture : public ::testing::Test {
protected:
    explicit MainWindowFixture(const VirtualMouseConfig& config = {}, std::unique_ptr<Clock> ownLinkClock = nullptr)
        : linkClockOwner(std::move(ownLinkClock)),
          linkClock(linkClockOwner ? *linkClockOwner : clock),
          mouse(config, linkClock) {
        folders.program = Q30X_TEST_PROGRAM_DIR;
        folders.working = work.file("TARVO/Q30X");
        services.folders = folders;
        services.notifications = &plugging;
        seedWorkingFolder(folders);
        writeLanguage(2);
        strings.LoadCatalogue(joinPath(folders.program, "Language/sc.xml"));
    }
    ~MainWindowFixture() override {
        if (window && !window->closed()) window->shutdown();
    }

    void writeLanguage(int32_t number) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(&number);
        writeAll(joinPath(folders.working, "Language.cfg"), {bytes, bytes + 4});
    }

    CQ52XDriverDlg& start() {
        window = std::make_unique<CQ52XDriverDlg>(services, language, strings, messages);
        window->initialise();
        pump();
        return *window;
    }

    // A press of a slanted button as the pointer makes it: the command goes
    // to the window on the press.
    void press(CIrrButton* button) { window->port()->send(msg::kCommand, 0, MessagePort::handle(button)); }

    // A new macro recorded on the macro page: A pressed and released. The
    // recording is still on (leaving the page ends it); returns its id.
    uint32_t recordMacroOfKeyA(CQ52XDriverDlg& w) {
        press(w.tab(3));
        auto* macros = static_cast<CDlgMacro*>(w.page(3));
        macros->newMacroButton()->click();
        const uint32_t id = *macros->macroList()->itemData(0);
        macros->recordButton()->click();
        for (uint32_t flags : {0u, 0x80u}) {
            w.hooks().keyboardHook({0x41, flags});
            pump();
        }
        return id;
    }

    std::vector<uint8_t> profileFile(int n) const { return readAll(joinPath(folders.working, profileFileName(n))); }

    TempFolder work;
    Folders folders;
    InstantClock clock;
    std::unique_ptr<Clock> linkClockOwner;
    Clock& linkClock;
    VirtualMouse mouse;
    VirtualPlugging plugging{mouse};
    std::ostringstream traceText;
    Trace trace{traceText};
    CUSBDriver link{mouse, linkClock, &trace};
    QuietInputSource input{true};
    RecordingDesktopMouseSettings desktop;
    RecordingLauncher launcher;
    VirtualUsbDevices usb{false};
    ProgramServices services{folders, link, clock, &trace, input, desktop, launcher, usb, launcher};
    LanguageState language;
    StringCatalogue strings;
    RecordingWindowMessages messages{language};
    std::unique_ptr<CQ52XDriverDlg> window;
};

}  // namespace q30x::test
