#include "platform/evdev_frames.h"

#include "platform/input_translation.h"

namespace q30x {

std::vector<EvdevEvent> EvdevFrameFilter::feed(const EvdevEvent& event) {
    if (event.type == kEvSyn && event.code == kSynReport) {
        if (moved_) sink_.onMouse({kMouseMove, 0});
        std::vector<EvdevEvent> out;
        out.swap(frame_);
        moved_ = false;
        wheelSwallowed_ = false;
        // A frame reduced to nothing needs no report of its own.
        if (!out.empty()) out.push_back(event);
        return out;
    }
    if (event.type == kEvKey) {
        auto mouse = mouseEventOfEvdevButton(event.code, event.value != 0);
        if (!mouse) {
            if (sink_.onKey({event.code, event.value})) return {};
        } else if (event.value != 2 && sink_.onMouse(*mouse)) {
            return {};
        }
    } else if (event.type == kEvRel && event.code == kRelWheel && event.value != 0) {
        wheelSwallowed_ = sink_.onMouse(mouseEventOfWheel(event.value));
        if (wheelSwallowed_) return {};
    } else if (event.type == kEvRel && event.code == kRelWheelHiRes) {
        // The high-resolution wheel follows its notch event's fate.
        if (wheelSwallowed_) return {};
    } else if (event.type == kEvRel && (event.code == kRelX || event.code == kRelY)) {
        moved_ = true;
    }
    frame_.push_back(event);
    return {};
}

}  // namespace q30x
