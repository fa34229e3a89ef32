// The main window's start-up and shutdown, step by step in their fixed order.
#include <QApplication>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <cstring>

#include "app/main_window.h"
#include "device/firmware_version.h"
#include "device/key_codes.h"
#include "device/presence.h"
#include "i18n/language_choice.h"
#include "macros/dlg_macro.h"
#include "pages/dlg_led_set.h"
#include "pages/dlg_main_set.h"
#include "pages/dlg_sts.h"
#include "pages/dlg_support.h"
#include "platform/messages.h"
#include "skin/dlg_progress.h"
#include "skin/images.h"
#include "skin/layout.h"
#include "skin/message_port.h"
#include "skin/modal_loop.h"
#include "skin/popup.h"
#include "skin/window_messages.h"

namespace q30x {

namespace {
constexpr uint32_t kShutdownPauseMs = 500;
}  // namespace

void CQ52XDriverDlg::initialise() {
    setWindowIcon(QIcon(QPixmap::fromImage(builtinImage(layout::res::kAppIcon))));
    seedWorkingFolder(services_.folders);
    LanguageContext context{services_.folders, messages_, language_, strings_};
    const int skinFlag = applySkinType(context);
    preloadSkin(skinFlag);

    if (checkForLoader(services_.usbDevices, services_.clock)) {
        // The mouse waits in its loader for new firmware: the burner takes over.
        if (!startBurner(services_.launcher, services_.folders, language_.chineseUi))
            messages_.info(burnerFailureText(language_.chineseUi));
        port_->post(msg::kClose, 0, 0);
        return;
    }

    setWindowTitle(QString::fromLatin1(kMainWindowTitle));
    if (services_.instance && services_.instance->listen()) {
        instanceNotifier_ = new QSocketNotifier(services_.instance->descriptor(), QSocketNotifier::Read, this);
        QObject::connect(instanceNotifier_, &QSocketNotifier::activated, this, [this] { onShowRequests(); });
    }
    macroStore_.loadFile();
    createControls();
    createPages();
    progress_ = std::make_unique<CDlgProgress>(QString::fromStdString(services_.folders.program),
                                               language_.chineseUi != 0, this);
    addTrayIcon();
    profileStore_.loadProfileIndexAndCurrent();
    showProfileMarks();
    if (services_.notifications && services_.notifications->descriptor() >= 0) {
        deviceNotifier_ = new QSocketNotifier(services_.notifications->descriptor(), QSocketNotifier::Read, this);
        QObject::connect(deviceNotifier_, &QSocketNotifier::activated, this, [this] { onDeviceNotifications(); });
    }
    macro_->fillLists();
    const auto& refs = settings_.currentIndexEntry().macroRefs;
    std::memcpy(settings_.macroRefs.data(), refs, sizeof refs);
    setFlag(skinFlag);
    port_->post(msg::kApplyLanguage, kLanguageAtStartUp, readLanguageChoice(services_.folders, messages_));

    // The link always exists here: the descriptor parser is built in, so there
    // is no library whose absence could stop it.
    const bool opened = openDeviceWithRetries(services_.link);
    refreshSettingsPages();
    if (!opened) {
        mouseMissing_ = true;
        messages_.countdown(mouseMissingAtStartText(language_.chineseUi));
        port_->post(msg::kClose, 0, 0);
        return;
    }
    worker_.start(progress_->port());
    if (update_) update_->start();

    int version = 0;
    const bool read = services_.link.readFirmwareVersion(version);
    support_->setFirmwareVersionText(firmwareVersionText(read ? std::optional<int>(version) : std::nullopt));

    show();
    raise();
    activateWindow();
    installKeyboardFilter();
    hooks_.installHooks(port_);
    hooks_.setStatistics(0, 1);
    port_->setTimer(kUpdaterTimer, kUpdaterDelayMs);
    for (const auto& button : kPhysicalButtons)
        if (settings_.current.buttons[button.index].functionType == kFunctionAdvanced)
            hooks_.addIntercept(static_cast<int32_t>(button.inputCode));
    initialised_ = true;
}

void CQ52XDriverDlg::preloadSkin(int flagBitmap) {
    namespace mw = layout::mainwin;
    QStringList files;
    auto add = [&files](std::string_view file) {
        files << QStringLiteral("skins/") + QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size()));
    };
    for (auto file : mw::kFiles) add(file);
    for (const auto& page : {layout::pages::kMainSet, layout::pages::kLedSet, layout::pages::kMacro,
                             layout::pages::kSts, layout::pages::kSupport})
        add(page[0]);
    const bool chinese = language_.chineseUi != 0;
    preloadImages(QString::fromStdString(services_.folders.program), files,
                  {chinese ? mw::res::kChineseNormal : mw::res::kStandardNormal,
                   chinese ? mw::res::kChinesePressed : mw::res::kStandardPressed,
                   chinese ? mw::res::kChineseHover : mw::res::kStandardHover, flagBitmap});
}

void CQ52XDriverDlg::shutdown() {
    if (closing_) return;
    // The worker may be waiting on this thread: end once its outcome is in.
    // Plugging news on screen: end once it has had its time. Any other
    // modal window is closed: the code that opened it (a page's, which the
    // end deletes) sits under its loop, so the end comes once the last
    // modal loop has returned.
    if (applying_ || countingDown_ || ModalLoopScope::depth() > 0) {
        closePending_ = true;
        if (!applying_ && !countingDown_) closeModalWindows();
        return;
    }
    closing_ = true;
    // Plugging news no longer concerns a program that is ending.
    if (deviceNotifier_) deviceNotifier_->setEnabled(false);
    if (tray_) tray_->hide();
    delete tray_;
    tray_ = nullptr;
    if (popup_) popup_->close();
    // The counts since the last save would otherwise be lost with the page.
    if (sts_) sts_->saveCounters();
    // Before the pages go: the update thread posts to the support page.
    if (update_) update_->stop();
    for (QWidget* p : {static_cast<QWidget*>(mainSet_), static_cast<QWidget*>(ledSet_), static_cast<QWidget*>(macro_),
                       static_cast<QWidget*>(sts_), static_cast<QWidget*>(support_)})
        delete p;
    mainSet_ = nullptr;
    ledSet_ = nullptr;
    macro_ = nullptr;
    sts_ = nullptr;
    support_ = nullptr;
    // The pages are gone: their last macro save reaches the disk before the end.
    macroWriter_.flush();
    hooks_.removeHooks();
    services_.link.closeDevice();
    worker_.setMainWindow(nullptr);
    worker_.stop();
    services_.clock.sleepMs(kShutdownPauseMs);
    closed_ = true;
    hide();
    if (onClosed_) onClosed_();
}

void CQ52XDriverDlg::closeModalWindows() {
    // Innermost first; each loop returns once control is back in it.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        if (QApplication::activeModalWidget() == modal) break;  // it would not close
    }
}

void CQ52XDriverDlg::onQueryEndSession() {
    if (sts_) sts_->saveCounters();
}

}  // namespace q30x
