#pragma once
#include <atomic>
#include <string_view>
#include <thread>

#include "app/input_hooks.h"
#include "device/trace.h"
#include "device/usb_driver.h"
#include "i18n/catalogue.h"
#include "macros/macro_library.h"
#include "platform/desktop_mouse.h"
#include "platform/manual_reset_event.h"
#include "platform/message_target.h"
#include "settings/settings_state.h"

namespace q30x {

// The steps an apply can fail at, in the order the frames go out.
enum ApplyStep : int {
    kStepKeyTable = 0,
    kStepLightColour = 1,
    kStepLightingEffect = 2,
    kStepCustomColours = 3,
    kStepProximity = 4,
    kStepDpiTable = 5,
};
inline constexpr int kApplySucceeded = -1;

// The text the main window shows for a failed step, line break included.
std::u16string_view applyFailureText(int step);

// Everything an apply reads and writes besides the mouse.
struct ApplyContext {
    CUSBDriver& link;
    const SettingsState& state;
    const MacroLibrary& macros;
    const LanguageState& language;  // the key table the macros are encoded with
    InputHooks& hooks;
    DesktopMouseSettings& desktop;
    Trace* trace = nullptr;  // DESKTOP lines
};

// The apply worker: a thread that sleeps on the apply trigger and writes the
// current profile to the mouse and the desktop once per trigger. The window's
// thread waits in the progress window meanwhile, so the settings stay still
// without a lock.
class ApplyWorker {
public:
    explicit ApplyWorker(ApplyContext context) : context_(context) {}
    ~ApplyWorker() { stop(); }
    ApplyWorker(const ApplyWorker&) = delete;
    ApplyWorker& operator=(const ApplyWorker&) = delete;

    // Starts the thread; progress goes to `progressWindow`, outcomes to the main window.
    void start(MessageTarget* progressWindow);
    // Clears the run flag and wakes the thread so it ends; returns when it has.
    void stop();
    // The main window, or nullptr once it is gone (the worker then closes
    // the progress window and ends).
    void setMainWindow(MessageTarget* window) { mainWindow_ = window; }

    // The main window's start of an apply: sets the trigger only while no
    // apply is running. True when it did.
    bool requestApply();
    bool applyReady() const { return applyReady_.load() == 1; }
    // The outcome arrived: a new apply may start.
    void rearm() { applyReady_ = 1; }

    // One apply from the cleared key table on, as the thread runs it: posts
    // the progress, the outcome and, after a failure, the progress window's
    // close. Returns kApplySucceeded or the failed step.
    int applyProfile(MessageTarget& progress);

private:
    void run(MessageTarget* progress);
    void applyDesktopSettings();
    void notifyMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam);

    ApplyContext context_;
    std::thread thread_;
    ManualResetEvent trigger_;
    std::atomic<int> runFlag_{1};
    std::atomic<int> applyReady_{1};
    std::atomic<MessageTarget*> mainWindow_{nullptr};
};

}  // namespace q30x
