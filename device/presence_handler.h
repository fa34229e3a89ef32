#pragma once
#include <cstdint>
#include <string>

#include "app/input_hooks.h"
#include "device/usb_driver.h"
#include "i18n/catalogue.h"
#include "platform/clock.h"
#include "platform/devices.h"
#include "platform/message_target.h"

namespace q30x {

// The texts of the self-closing box on plugging and unplugging.
std::u16string_view mouseFoundText(int chineseUi);
std::u16string_view mouseNotFoundText(int chineseUi);
// The text when the mouse is missing at start-up (it spells "Q30X").
std::u16string_view mouseMissingAtStartText(int chineseUi);

// Plugging and unplugging while the program runs, as the main window's
// device-change handler and its retry timer call them on the window's thread.
// Nothing here blocks: after an arrival the link is tried again from the
// window's timer every 2500 ms, for one minute at most.
class DevicePresence {
public:
    static constexpr uint32_t kRetryTimer = 6;
    static constexpr uint32_t kRetryPeriodMs = 2500;
    static constexpr uint32_t kGiveUpAfterMs = 60000;

    // What the window does after an event; the program's close is already posted.
    struct Action {
        std::u16string countdownMessage;  // shown in the self-closing box when not empty
        enum class Timer { Unchanged, Start, Stop } retryTimer = Timer::Unchanged;
        bool firmwareVersionChanged = false;
        std::u16string firmwareVersionText;  // the support page's text when changed
    };

    DevicePresence(CUSBDriver& link, InputHooks& hooks, MessageTarget& mainWindow, const LanguageState& language,
                   Clock& clock)
        : link_(link), hooks_(hooks), mainWindow_(mainWindow), language_(language), clock_(clock) {}

    // Returns 1, the answer to every device-change message.
    intptr_t onDeviceChange(const DeviceNotification& notification, Action& action);
    void onRetryTimer(Action& action);
    bool retrying() const { return retrying_; }

private:
    void tryOpen(Action& action);

    CUSBDriver& link_;
    InputHooks& hooks_;
    MessageTarget& mainWindow_;
    const LanguageState& language_;
    Clock& clock_;
    bool retrying_ = false;
    uint32_t arrivedAt_ = 0;
};

}  // namespace q30x
