#pragma once
#include <QObject>
#include <cstdint>
#include <functional>
#include <map>

#include "platform/message_target.h"

namespace q30x {

namespace msg {
inline constexpr uint32_t kTimer = 0x0113;    // WM_TIMER, wParam = timer id
inline constexpr uint32_t kCommand = 0x0111;  // WM_COMMAND, lParam = the control
inline constexpr uint32_t kHScroll = 0x0114;  // WM_HSCROLL, scroll code + position, the bar
inline constexpr uint32_t kVScroll = 0x0115;  // WM_VSCROLL
}  // namespace msg

// The numbered-message mailbox of one window. post() queues through Qt's
// thread-safe event posting and may be called from any thread; send() runs
// the handler at once on the window's own thread and blocks a caller on
// another thread until the window has handled it. Timers are kept by the ids
// the windows use and arrive as kTimer messages. Pending posts die with the
// port, so a worker can never reach a window that is gone.
class MessagePort final : public QObject, public MessageTarget {
public:
    using Handler = std::function<intptr_t(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

    explicit MessagePort(QObject* owner, Handler handler = {});
    void setHandler(Handler handler) { handler_ = std::move(handler); }

    void post(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // Like SetTimer/KillTimer: a second setTimer with the same id restarts it.
    void setTimer(uint32_t id, int periodMs);
    void killTimer(uint32_t id);
    bool hasTimer(uint32_t id) const { return timers_.count(id) != 0; }

    // The port of a window (its direct child), or nullptr.
    static MessagePort* of(const QObject* window);

    // A control's handle as it travels in lParam.
    static intptr_t handle(const QObject* control) { return reinterpret_cast<intptr_t>(control); }

protected:
    void customEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    intptr_t dispatch(uint32_t message, uintptr_t wParam, intptr_t lParam);

    Handler handler_;
    std::map<uint32_t, int> timers_;  // window timer id -> Qt timer id
};

}  // namespace q30x
