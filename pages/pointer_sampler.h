#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/message_target.h"
#include "platform/pointer_position.h"

namespace q30x {

// The statistics page's sampling thread: every 500 ms it reads the pointer
// and posts 1226 to the page with the position inside the message, so no
// variable is shared. A desktop that tells no position posts nothing.
class PointerSampler {
public:
    static constexpr uint32_t kPeriodMs = 500;

    PointerSampler(PointerPosition& pointer, MessageTarget& page);
    // Ends the thread at once, even in the middle of a period.
    ~PointerSampler();
    PointerSampler(const PointerSampler&) = delete;
    PointerSampler& operator=(const PointerSampler&) = delete;

    // The position carried by one 1226.
    static ScreenPoint sampleOf(uintptr_t wParam, intptr_t lParam);

private:
    void run();

    PointerPosition& pointer_;
    MessageTarget& page_;
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace q30x
