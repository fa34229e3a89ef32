#pragma once
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <deque>
#include <functional>
#include <memory>

#include "app/input_hooks.h"
#include "app/program_state.h"
#include "device/apply_worker.h"
#include "device/presence_handler.h"
#include "device/trace.h"
#include "device/usb_driver.h"
#include "firmware/update_check.h"
#include "firmware/update_window.h"
#include "macros/macro_store.h"
#include "platform/desktop_mouse.h"
#include "platform/devices.h"
#include "platform/pointer_position.h"
#include "platform/single_instance.h"
#include "platform/sound_player.h"
#include "settings/profile_store.h"
#include "skin/popup.h"
#include "skin/window_drag.h"

class QSystemTrayIcon;
class QSocketNotifier;
class QLabel;

namespace q30x {

class CDlgLEDSet;
class CDlgMacro;
class CDlgMainSet;
class CDlgProgress;
class CDlgSts;
class CDlgSupport;
class CGDIBitmapBtn;
class CIrrButton;
class CXPMenu;
class MessagePort;
class WindowMessages;

// What the program runs on. The program's start fills it with the desktop's
// own facilities; tests fill it with the virtual mouse and fakes.
struct ProgramServices {
    Folders folders;
    CUSBDriver& link;
    Clock& clock;  // the waits of start-up and shutdown
    Trace* trace = nullptr;
    InputEventSource& input;
    DesktopMouseSettings& desktop;
    ProgramLauncher& launcher;
    UsbDeviceList& usbDevices;
    SoundPlayer& sound;
    DeviceNotificationSource* notifications = nullptr;  // none: plugging is not followed
    SingleInstance* instance = nullptr;                 // none: a second copy cannot reach this one
    PointerPosition* pointer = nullptr;                 // none: the pointer's travel is not counted
    Downloader* downloader = nullptr;                   // none: there is no update check
};

// The window title a second copy of the program knows the first by.
inline constexpr const char* kMainWindowTitle = "Tarvo Q30x Gaming Mouse Driver";
inline constexpr const char* kTrayText = "Tarvo Q30X Gaming Mouse Driver";

// The program's only top-level window: the five pages on their tabs, the
// profile buttons, OK, the hint line and the tray icon. It is the hub of the
// window messages: the apply worker, the hooks, the pages, the tray and a
// second copy of the program all talk to it, and it performs the buttons'
// host actions.
class CQ52XDriverDlg : public QWidget {
public:
    static constexpr uint32_t kUpdaterTimer = 4;
    static constexpr int kUpdaterDelayMs = 3000;
    static constexpr uintptr_t kCommandConfig = 24576;
    static constexpr uintptr_t kCommandExit = 24577;
    static constexpr int kPageCount = 5;
    static constexpr int kHintTabs = 1, kHintProfiles = 6, kHintOk = 11;
    static constexpr intptr_t kTrayRightButtonUp = 0x205;

    CQ52XDriverDlg(ProgramServices& services, LanguageState& language, StringCatalogue& strings,
                   WindowMessages& messages);
    ~CQ52XDriverDlg() override;

    // Brings every subsystem up in order and shows the window, unless the
    // firmware loader or a missing mouse closes the program first.
    void initialise();
    // Called once the shutdown has run: the program may end.
    void setOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }
    bool closed() const { return closed_; }
    // True once the start-up found the mouse and showed the window.
    bool initialised() const { return initialised_; }
    // True when the start-up gave up because the mouse was not there.
    bool mouseMissing() const { return mouseMissing_; }
    // Called once, right after the window's first paint.
    void setOnFirstPaint(std::function<void()> onFirstPaint) { onFirstPaint_ = std::move(onFirstPaint); }

    void switchPage(int n);
    void refreshSettingsPages();
    void startApply();
    void hideToTray();
    // The orderly end: what the window's close, the tray's Exit, a removal,
    // SIGTERM and the end of the session all come to.
    void shutdown();
    // A picture of the window on each page and of the assignment popup on
    // each of its tabs, as PNG files in `folder`.
    void saveScreenshots(const QString& folder);
    // The session is ending: save what the program keeps across runs.
    void onQueryEndSession();

    MessagePort* port() const { return port_; }
    CIrrButton* tab(int n) const { return tabs_[static_cast<std::size_t>(n - 1)]; }
    CIrrButton* profileButton(int n) const { return profiles_[static_cast<std::size_t>(n - 1)]; }
    CIrrButton* okButton() const { return ok_; }
    CGDIBitmapBtn* minimizeButton() const { return minimize_; }
    CGDIBitmapBtn* hideButton() const { return hide_; }
    CGDIBitmapBtn* languageButton() const { return language_button_; }
    QWidget* page(int n) const;
    int currentPage() const { return currentPage_; }
    const QString& hintText() const { return hint_; }
    QRect hintRect() const;
    const QImage& flagImage() const { return flag_; }
    SettingsState& settings() { return settings_; }
    InputHooks& hooks() { return hooks_; }
    ApplyWorker& applyWorker() { return worker_; }
    CDlgProgress* progressWindow() const { return progress_.get(); }
    CMenuExA* languagePopup() const { return popup_; }
    CDlgSupport* supportPage() const { return support_; }
    UpdateCheck* updateCheck() const { return update_.get(); }
    QSystemTrayIcon* trayIcon() const { return tray_; }
    bool applying() const { return applying_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    intptr_t onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void onCommand(const QObject* control);
    void onTrayCommand(uintptr_t command);
    void onLanguage(uintptr_t wParam, intptr_t number);
    void onTray(intptr_t mouseMessage);
    void onInputEvent(uintptr_t code, intptr_t flags);
    void onShowHint(int hint);
    void onRestoreDefaults();
    void onApplySucceeded();
    void onApplyFailed(int step);
    void applyEnded();
    void onDeviceNotifications();
    void scheduleNews();
    void takeNews();
    void onPresenceAction(const DevicePresence::Action& action);
    // Plugging news in the self-closing box; a close that comes meanwhile
    // waits for the box to have had its time.
    void showCountdown(std::u16string_view text);
    void closeModalWindows();
    void onTimer(uintptr_t id);
    void onShowRequests();
    void trackHints(const QPoint& windowPoint);
    void showFromTray();
    void openLanguagePopup();
    void selectProfile(int n);
    void showProfileMarks();
    void setFlag(int bitmapId);
    void applyLabels();
    // Decodes the start-up's pictures on other threads while it goes on.
    void preloadSkin(int flagBitmap);
    void createControls();
    void createPages();
    void releasePageStates();
    void createUpdateCheck(Downloader& downloader);
    void addTrayIcon();
    void installKeyboardFilter();

    ProgramServices& services_;
    LanguageState& language_;
    StringCatalogue& strings_;
    WindowMessages& messages_;
    SettingsState settings_;
    ProfileStore profileStore_;
    MacroLibrary macros_;
    // Saves the macro file off this thread; gone after the pages, so the
    // last save they asked for is written.
    MacroFileWriter macroWriter_;
    MacroStore macroStore_;
    InputHooks hooks_;
    MessagePort* port_;
    ProgramState state_;
    ApplyWorker worker_;
    DevicePresence presence_;
    std::unique_ptr<CDlgProgress> progress_;
    std::unique_ptr<UpdatePageLink> updateLink_;
    std::unique_ptr<UpdateCheck> update_;

    QImage normal_;
    CGDIBitmapBtn* minimize_ = nullptr;
    CGDIBitmapBtn* hide_ = nullptr;
    CGDIBitmapBtn* language_button_ = nullptr;
    QLabel* flagPicture_ = nullptr;
    QImage flag_;
    std::array<CIrrButton*, kPageCount> tabs_{};
    std::array<CIrrButton*, kProfileCount> profiles_{};
    CIrrButton* ok_ = nullptr;

    CDlgMainSet* mainSet_ = nullptr;
    CDlgLEDSet* ledSet_ = nullptr;
    CDlgMacro* macro_ = nullptr;
    CDlgSts* sts_ = nullptr;
    CDlgSupport* support_ = nullptr;
    int currentPage_ = 1;

    QString hint_;
    QPointer<CMenuExA> popup_;
    QSystemTrayIcon* tray_ = nullptr;
    QSocketNotifier* deviceNotifier_ = nullptr;
    std::deque<DeviceNotification> pendingNews_;  // folded, not yet taken
    bool newsScheduled_ = false;
    QSocketNotifier* instanceNotifier_ = nullptr;

    bool applying_ = false;
    bool countingDown_ = false;
    bool closePending_ = false;
    bool closing_ = false;
    bool closed_ = false;
    bool initialised_ = false;
    bool mouseMissing_ = false;
    WindowDrag drag_;  // the borderless window moves by a press on its surface
    std::function<void()> onClosed_;
    std::function<void()> onFirstPaint_;
};

}  // namespace q30x
