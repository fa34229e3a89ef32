#pragma once
#include <cstdint>

namespace q30x {

// A window as the rest of the system sees it: numbered messages with two
// parameters. post() queues and returns at once, from any thread; send()
// returns only after the window has handled the message.
class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    virtual void post(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    virtual intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

}  // namespace q30x
