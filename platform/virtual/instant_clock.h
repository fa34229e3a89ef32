#pragma once
#include <atomic>

#include "platform/clock.h"

namespace q30x {

// --no-delays: time moves by every pause at once, nobody waits. Only for the
// virtual mouse, which needs no pacing.
class InstantClock final : public Clock {
public:
    uint32_t tickMs() override { return tick_.load(); }
    void sleepMs(uint32_t ms) override { tick_ += ms; }

private:
    std::atomic<uint32_t> tick_{0};
};

}  // namespace q30x
