#include "app/input_hooks.h"

#include "buttons/key_codes.h"
#include "platform/messages.h"

namespace q30x {
namespace {

// Presses carry flags up to 0x21 (extended, Alt); the key-up flag makes a release.
constexpr uint32_t kLastPressFlags = 0x21;
constexpr int32_t kWheelForward = 0x20A01;
constexpr int32_t kWheelBackward = 0x20A00;

int32_t wheelCode(int32_t mouseData) { return mouseData >= 0 ? kWheelForward : kWheelBackward; }

}  // namespace

bool InputHooks::installHooks(MessageTarget* window) {
    targetWindow_ = window;
    mainWindow_ = window;
    bool ok = source_.start(*this);
    installed_ = ok;
    if (ok) updateSwallowing();
    return ok;
}

void InputHooks::removeHooks() {
    if (!installed_.exchange(false)) return;
    source_.setSwallowing(false);
    source_.stop();
}

void InputHooks::setTarget(MessageTarget* window) { targetWindow_ = window; }

void InputHooks::setForwarding(int keys, int mouse) {
    forwardKeys_ = keys;
    forwardMouse_ = mouse;
    if (keys == 0 && mouse == 0) targetWindow_ = mainWindow_.load();
}

void InputHooks::setStatistics(int keys, int clicks) {
    keyStatistics_ = keys;
    clickStatistics_ = clicks;
}

void InputHooks::addIntercept(int32_t code) {
    if (isIntercepted(code)) return;
    for (auto& slot : intercept_) {
        int32_t expected = 0;
        if (slot.compare_exchange_strong(expected, code)) break;
    }
    updateSwallowing();
}

void InputHooks::removeIntercept(int32_t code) {
    for (auto& slot : intercept_) {
        int32_t expected = code;
        if (code != 0 && slot.compare_exchange_strong(expected, 0)) break;
    }
    updateSwallowing();
}

void InputHooks::reset() {
    for (auto& slot : intercept_) slot = 0;
    forwardKeys_ = 1;
    forwardMouse_ = 1;
    keyStatistics_ = 0;
    clickStatistics_ = 0;
    pendingRelease_ = 0;
    targetWindow_ = nullptr;
    mainWindow_ = nullptr;
    updateSwallowing();
}

bool InputHooks::isIntercepted(int32_t code) const {
    if (code == 0) return false;
    for (const auto& slot : intercept_)
        if (slot.load(std::memory_order_relaxed) == code) return true;
    return false;
}

std::array<int32_t, kInterceptSlots> InputHooks::interceptTable() const {
    std::array<int32_t, kInterceptSlots> table{};
    for (int i = 0; i < kInterceptSlots; ++i) table[i] = intercept_[i].load();
    return table;
}

void InputHooks::updateSwallowing() {
    if (!installed_) return;
    bool any = false;
    for (const auto& slot : intercept_) any = any || slot.load() != 0;
    source_.setSwallowing(any);
}

void InputHooks::post(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (MessageTarget* target = targetWindow_.load(std::memory_order_relaxed)) target->post(message, wParam, lParam);
}

bool InputHooks::keyboardHook(const KeyEvent& event) {
    bool press = event.flags <= kLastPressFlags;
    if (press && keyStatistics_.load(std::memory_order_relaxed)) post(msg::kInputEvent, 1, event.flags);
    if (forwardKeys_.load(std::memory_order_relaxed)) post(msg::kHookInput, event.virtualKey, event.flags);
    return false;
}

bool InputHooks::onKey(const LinuxKeyEvent& event) {
    uint8_t virtualKey = virtualKeyOfEvdevCode(event.evdevCode, keyLayout_.load(std::memory_order_relaxed));
    if (virtualKey == 0) return false;
    uint32_t flags = (event.value == 0 ? kKeyReleasedFlag : 0) | (isExtendedKey(event.evdevCode) ? 0x01 : 0);
    return keyboardHook({virtualKey, flags});
}

bool InputHooks::swallowIfIntercepted(int32_t code) {
    if (isIntercepted(code)) {
        post(msg::kInputEvent, static_cast<uintptr_t>(code), 0);
        return true;
    }
    if (clickStatistics_.load(std::memory_order_relaxed)) post(msg::kInputEvent, static_cast<uintptr_t>(code), 0);
    return false;
}

bool InputHooks::mouseHook(const MouseEvent& event) {
    const uint32_t m = event.message;
    const int32_t d = event.mouseData;
    switch (m) {
    case kLeftDown:
    case kRightDown:
    case kMiddleDown:
        if (swallowIfIntercepted(static_cast<int32_t>(m))) {
            pendingRelease_ = m + 1;
            return true;
        }
        break;
    case kWheel:
        if (swallowIfIntercepted(wheelCode(d))) return true;
        break;
    case kSideDown:
        if (swallowIfIntercepted(static_cast<int32_t>(m) + d)) {
            pendingRelease_ = kSideUp;
            return true;
        }
        break;
    default:
        break;
    }
    uint32_t pending = m;
    if (pendingRelease_.compare_exchange_strong(pending, 0)) return true;
    if (forwardMouse_.load(std::memory_order_relaxed) && m != kMouseMove) {
        int32_t code = m == kWheel ? wheelCode(d) : static_cast<int32_t>(m) + d;
        post(msg::kHookInput, static_cast<uintptr_t>(code), 0);
    }
    return false;
}

}  // namespace q30x
