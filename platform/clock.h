#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

namespace q30x {

// The one source of time and pauses. Everything that waits goes through it,
// so tests run an apply that really takes seconds in microseconds.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start, wrapping at 2^32 like GetTickCount.
    virtual uint32_t tickMs() = 0;
    // Blocks the calling thread for about `ms` milliseconds.
    virtual void sleepMs(uint32_t ms) = 0;
};

class RealClock final : public Clock {
public:
    uint32_t tickMs() override;
    void sleepMs(uint32_t ms) override;
};

// Time moves only when someone sleeps or the test advances it; every sleep is
// recorded so a test can assert the exact pacing. Safe to share with a worker
// thread.
class FakeClock final : public Clock {
public:
    explicit FakeClock(uint32_t startTick = 0) : tick_(startTick) {}
    uint32_t tickMs() override;
    void sleepMs(uint32_t ms) override;
    void advance(uint32_t ms);
    std::vector<uint32_t> sleeps() const;
    void clearSleeps();

private:
    mutable std::mutex mutex_;
    uint32_t tick_;
    std::vector<uint32_t> sleeps_;
};

}  // namespace q30x
