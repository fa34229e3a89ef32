#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "firmware/update_check.h"

namespace q30x::test {

// The support page as the update check sees it: remembers its timer and
// queues the thread's answers, which the caller then hands over as the
// window's thread would.
class QueuedUpdatePage final : public UpdatePage {
public:
    struct Posted {
        uint32_t round;
        UpdateAnswer answer;
    };
    void startTimeout(uint32_t ms) override { timeouts.push_back(ms); }
    void stopTimeout() override { ++timeoutStops; }
    void postAnswer(uint32_t round, UpdateAnswer answer) override {
        std::lock_guard lock(mutex_);
        posted_.push_back({round, answer});
        arrived_.notify_all();
    }
    // The next answer in order; nothing when none came within `wait`.
    std::optional<Posted> next(std::chrono::milliseconds wait) {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, wait, [this] { return !posted_.empty(); })) return std::nullopt;
        const Posted p = posted_.front();
        posted_.pop_front();
        return p;
    }

    std::vector<uint32_t> timeouts;
    int timeoutStops = 0;

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Posted> posted_;
};

}  // namespace q30x::test
