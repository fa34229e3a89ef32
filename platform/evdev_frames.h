#pragma once
#include <cstdint>
#include <vector>

#include "platform/input_events.h"

namespace q30x {

// One evdev input event as read from an event device.
struct EvdevEvent {
    uint16_t type;
    uint16_t code;
    int32_t value;
    bool operator==(const EvdevEvent&) const = default;
};

// The evdev numbers the backend needs (linux/input-event-codes.h).
inline constexpr uint16_t kEvSyn = 0, kEvKey = 1, kEvRel = 2, kEvMsc = 4;
inline constexpr uint16_t kSynReport = 0, kSynDropped = 3;
inline constexpr uint16_t kRelX = 0, kRelY = 1, kRelWheel = 8, kRelWheelHiRes = 11;

// Turns an event device's events into hook events, one report frame at a
// time, and keeps what the hooks did not swallow for re-emission: a frame
// whose button press is swallowed loses only that press.
class EvdevFrameFilter {
public:
    explicit EvdevFrameFilter(InputEventSink& sink) : sink_(sink) {}

    // Feeds one event; returns the events to re-emit once a frame ends
    // (empty until then, and for a frame with nothing left to send).
    std::vector<EvdevEvent> feed(const EvdevEvent& event);

private:
    InputEventSink& sink_;
    std::vector<EvdevEvent> frame_;
    bool moved_ = false;
    bool wheelSwallowed_ = false;
};

}  // namespace q30x
