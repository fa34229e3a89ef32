#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <numeric>
#include <vector>

#include "platform/clock.h"

namespace q30x::test {

// A fake clock that stops the thread taking a chosen pause until the test
// lets it go, so the window can be looked at while a worker is stuck there.
// Time moves by each pause, as on FakeClock, and every pause is recorded.
class HoldingClock final : public Clock {
public:
    explicit HoldingClock(std::function<bool(uint32_t ms)> holdAt) : holdAt_(std::move(holdAt)) {}

    uint32_t tickMs() override {
        std::lock_guard lock(mutex_);
        return tick_;
    }
    void sleepMs(uint32_t ms) override {
        std::unique_lock lock(mutex_);
        sleeps_.push_back(ms);
        if (!released_ && holdAt_(ms)) {
            held_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_; });
            held_ = false;
        }
        tick_ += ms;
    }

    // Waits until some thread is held; false after five seconds.
    bool waitForHold() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5), [this] { return held_; });
    }
    bool holding() const {
        std::lock_guard lock(mutex_);
        return held_;
    }
    // Lets the held thread go; no pause is held after this.
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    std::vector<uint32_t> sleeps() const {
        std::lock_guard lock(mutex_);
        return sleeps_;
    }
    uint64_t sleptMs() const {
        std::lock_guard lock(mutex_);
        return std::accumulate(sleeps_.begin(), sleeps_.end(), uint64_t{0});
    }
    void clearSleeps() {
        std::lock_guard lock(mutex_);
        sleeps_.clear();
    }

private:
    std::function<bool(uint32_t)> holdAt_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    uint32_t tick_ = 0;
    bool held_ = false;
    bool released_ = false;
    std::vector<uint32_t> sleeps_;
};

}  // namespace q30x::test
