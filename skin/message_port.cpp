#include "skin/message_port.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <QTimerEvent>

namespace q30x {
namespace {

const QEvent::Type kMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct MessageEvent final : QEvent {
    MessageEvent(uint32_t m, uintptr_t w, intptr_t l) : QEvent(kMessageEvent), message(m), wParam(w), lParam(l) {}
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

}  // namespace

MessagePort::MessagePort(QObject* owner, Handler handler) : QObject(owner), handler_(std::move(handler)) {}

MessagePort* MessagePort::of(const QObject* window) {
    if (!window) return nullptr;
    for (QObject* child : window->children())
        if (auto* port = dynamic_cast<MessagePort*>(child)) return port;
    return nullptr;
}

void MessagePort::post(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    QCoreApplication::postEvent(this, new MessageEvent(message, wParam, lParam));
}

intptr_t MessagePort::send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (QThread::currentThread() == thread()) return dispatch(message, wParam, lParam);
    intptr_t result = 0;
    QMetaObject::invokeMethod(
        this, [this, message, wParam, lParam] { return dispatch(message, wParam, lParam); },
        Qt::BlockingQueuedConnection, &result);
    return result;
}

void MessagePort::setTimer(uint32_t id, int periodMs) {
    killTimer(id);
    timers_[id] = startTimer(periodMs);
}

void MessagePort::killTimer(uint32_t id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    QObject::killTimer(it->second);
    timers_.erase(it);
}

void MessagePort::customEvent(QEvent* event) {
    if (event->type() != kMessageEvent) return;
    auto* m = static_cast<MessageEvent*>(event);
    dispatch(m->message, m->wParam, m->lParam);
}

void MessagePort::timerEvent(QTimerEvent* event) {
    for (const auto& [id, qtId] : timers_)
        if (qtId == event->timerId()) {
            dispatch(msg::kTimer, id, 0);
            return;
        }
}

intptr_t MessagePort::dispatch(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return handler_ ? handler_(message, wParam, lParam) : 0;
}

}  // namespace q30x
