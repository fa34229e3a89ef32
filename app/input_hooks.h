#pragma once
#include <array>
#include <atomic>
#include <cstdint>

#include "platform/input_events.h"
#include "platform/message_target.h"

namespace q30x {

inline constexpr int kInterceptSlots = 12;

// The process-wide hook state and the two hook procedures. The procedures do
// constant work: a scan of twelve entries and at most two posted messages.
// The apply worker changes the intercept table while events arrive, so every
// field is a single atomic word, as a hook reading it mid-change may see the
// old or the new value but never a torn one.
class InputHooks final : public InputEventSink {
public:
    explicit InputHooks(InputEventSource& source) : source_(source) {}
    ~InputHooks() override { removeHooks(); }

    // Points both targets at `window` and starts the source; true when input
    // can be read.
    bool installHooks(MessageTarget* window);
    void removeHooks();
    void setTarget(MessageTarget* window);
    // Turning both off points the hooks back at the main window.
    void setForwarding(int keys, int mouse);
    void setStatistics(int keys, int clicks);
    void addIntercept(int32_t code);
    void removeIntercept(int32_t code);
    void reset();

    bool isIntercepted(int32_t code) const;
    std::array<int32_t, kInterceptSlots> interceptTable() const;
    bool installed() const { return installed_.load(); }

    // The key table of this interface language names the keys the hooks report.
    void setKeyLayout(int languageNumber) { keyLayout_ = languageNumber; }

    // The two hook procedures; true when the event is swallowed.
    bool keyboardHook(const KeyEvent& event);
    bool mouseHook(const MouseEvent& event);

    bool onKey(const LinuxKeyEvent& event) override;
    bool onMouse(const MouseEvent& event) override { return mouseHook(event); }

private:
    void post(uint32_t message, uintptr_t wParam, intptr_t lParam);
    bool swallowIfIntercepted(int32_t code);
    void updateSwallowing();

    InputEventSource& source_;
    std::array<std::atomic<int32_t>, kInterceptSlots> intercept_{};
    std::atomic<MessageTarget*> targetWindow_{nullptr};
    std::atomic<MessageTarget*> mainWindow_{nullptr};
    std::atomic<int> forwardKeys_{1};
    std::atomic<int> forwardMouse_{1};
    std::atomic<int> keyStatistics_{0};
    std::atomic<int> clickStatistics_{0};
    std::atomic<uint32_t> pendingRelease_{0};
    std::atomic<bool> installed_{false};
    std::atomic<int> keyLayout_{0};
};

}  // namespace q30x
