#include "pages/pointer_sampler.h"

#include <chrono>

#include "platform/messages.h"

namespace q30x {

PointerSampler::PointerSampler(PointerPosition& pointer, MessageTarget& page)
    : pointer_(pointer), page_(page), thread_([this] { run(); }) {}

PointerSampler::~PointerSampler() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    thread_.join();
}

ScreenPoint PointerSampler::sampleOf(uintptr_t wParam, intptr_t lParam) {
    return {static_cast<int32_t>(static_cast<uint32_t>(wParam)), static_cast<int32_t>(lParam)};
}

void PointerSampler::run() {
    std::unique_lock lock(mutex_);
    // A wait rather than the clock's sleep, so that the end never waits out a period.
    while (!stop_.wait_for(lock, std::chrono::milliseconds(kPeriodMs), [this] { return stopping_; })) {
        lock.unlock();
        if (const auto sample = pointer_.position())
            page_.post(msg::kStatsTick, static_cast<uint32_t>(sample->x), static_cast<intptr_t>(sample->y));
        lock.lock();
    }
}

}  // namespace q30x
