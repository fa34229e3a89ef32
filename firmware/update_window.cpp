#include "firmware/update_window.h"

#include "platform/messages.h"
#include "skin/message_port.h"

namespace q30x {

void UpdatePageLink::connect(UpdateCheck& check) {
    port_.setHandler([&check](uint32_t message, uintptr_t wParam, intptr_t lParam) -> intptr_t {
        if (message == msg::kTimer && wParam == kUpdateTimer) check.onTimeout();
        if (message == msg::kUpdateAnswer)
            check.onAnswer(static_cast<uint32_t>(wParam), static_cast<UpdateAnswer>(lParam));
        return 0;
    });
}

void UpdatePageLink::startTimeout(uint32_t ms) { port_.setTimer(kUpdateTimer, static_cast<int>(ms)); }

void UpdatePageLink::stopTimeout() { port_.killTimer(kUpdateTimer); }

void UpdatePageLink::postAnswer(uint32_t round, UpdateAnswer answer) {
    port_.post(msg::kUpdateAnswer, round, static_cast<intptr_t>(answer));
}

}  // namespace q30x
