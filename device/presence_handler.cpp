#include "device/presence_handler.h"

#include "device/firmware_version.h"
#include "device/presence.h"
#include "platform/messages.h"

namespace q30x {

std::u16string_view mouseFoundText(int chineseUi) {
    return chineseUi ? u"发现Q30x游戏鼠标." : u"The Q30x gaming mouse is found.";
}

std::u16string_view mouseNotFoundText(int chineseUi) {
    return chineseUi ? u"没有找到Q30x游戏鼠标." : u"The Q30x gaming mouse cannot be found.";
}

std::u16string_view mouseMissingAtStartText(int chineseUi) {
    return chineseUi ? u"没有找到Q30X游戏鼠标." : u"The Q30X gaming mouse cannot be found.";
}

intptr_t DevicePresence::onDeviceChange(const DeviceNotification& notification, Action& action) {
    if (isMouseArrival(notification)) {
        // The USB device and its interfaces announce themselves separately:
        // a link that is open already, or a retry under way, needs nothing more.
        if (link_.isOpen() || retrying_) return 1;
        arrivedAt_ = clock_.tickMs();
        tryOpen(action);
    } else if (isMouseRemoval(notification)) {
        retrying_ = false;
        action.retryTimer = Action::Timer::Stop;
        link_.closeDevice();
        hooks_.removeHooks();
        action.countdownMessage = mouseNotFoundText(language_.chineseUi);
        mainWindow_.post(msg::kClose, 0, 0);
    }
    return 1;
}

void DevicePresence::onRetryTimer(Action& action) {
    if (!retrying_) {
        action.retryTimer = Action::Timer::Stop;
        return;
    }
    tryOpen(action);
    if (retrying_ && static_cast<uint32_t>(clock_.tickMs() - arrivedAt_) >= kGiveUpAfterMs) {
        // The vendor interface never came: the program cannot work without it.
        retrying_ = false;
        action.retryTimer = Action::Timer::Stop;
        action.countdownMessage = mouseNotFoundText(language_.chineseUi);
        mainWindow_.post(msg::kClose, 0, 0);
    }
}

void DevicePresence::tryOpen(Action& action) {
    if (!link_.openDevice()) {
        if (!retrying_) action.retryTimer = Action::Timer::Start;
        retrying_ = true;
        return;
    }
    if (retrying_) action.retryTimer = Action::Timer::Stop;
    retrying_ = false;
    int version = 0;
    bool read = link_.readFirmwareVersion(version);
    action.firmwareVersionChanged = true;
    action.firmwareVersionText = firmwareVersionText(read ? std::optional<int>(version) : std::nullopt);
    hooks_.installHooks(&mainWindow_);
    action.countdownMessage = mouseFoundText(language_.chineseUi);
}

}  // namespace q30x
