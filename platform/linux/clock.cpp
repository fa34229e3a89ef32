#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace q30x {

uint32_t RealClock::tickMs() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void RealClock::sleepMs(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

uint32_t FakeClock::tickMs() {
    std::lock_guard lock(mutex_);
    return tick_;
}

void FakeClock::sleepMs(uint32_t ms) {
    std::lock_guard lock(mutex_);
    sleeps_.push_back(ms);
    tick_ += ms;
}

void FakeClock::advance(uint32_t ms) {
    std::lock_guard lock(mutex_);
    tick_ += ms;
}

std::vector<uint32_t> FakeClock::sleeps() const {
    std::lock_guard lock(mutex_);
    return sleeps_;
}

void FakeClock::clearSleeps() {
    std::lock_guard lock(mutex_);
    sleeps_.clear();
}

}  // namespace q30x
