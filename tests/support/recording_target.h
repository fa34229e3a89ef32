#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/message_target.h"

namespace q30x::test {

// A window that only remembers what it was given, from any thread.
class RecordingTarget final : public MessageTarget {
public:
    struct Message {
        uint32_t message;
        uintptr_t wParam;
        intptr_t lParam;
        bool sent;
        bool operator==(const Message&) const = default;
    };

    void post(uint32_t message, uintptr_t wParam, intptr_t lParam) override { add({message, wParam, lParam, false}); }
    intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        add({message, wParam, lParam, true});
        return 0;
    }

    std::vector<Message> messages() const {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    // Waits until `done(messages)` holds; false after ten seconds.
    template <typename Predicate>
    bool waitUntil(Predicate done) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, std::chrono::seconds(10), [&] { return done(messages_); });
    }
    bool waitForCount(std::size_t count) {
        return waitUntil([count](const std::vector<Message>& messages) { return messages.size() >= count; });
    }
    void clear() {
        std::lock_guard lock(mutex_);
        messages_.clear();
    }

private:
    void add(const Message& m) {
        std::lock_guard lock(mutex_);
        messages_.push_back(m);
        arrived_.notify_all();
    }
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Message> messages_;
};

}  // namespace q30x::test
