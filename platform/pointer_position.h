#pragma once
#include <cstdint>
#include <memory>
#include <optional>

namespace q30x {

struct ScreenPoint {
    int32_t x = 0, y = 0;
};

// Where the desktop's pointer is, for the travel statistics.
class PointerPosition {
public:
    virtual ~PointerPosition() = default;
    // The pointer's position in screen pixels now; nothing where the desktop
    // does not tell other programs (Wayland) or cannot be reached. Called
    // from one thread at a time.
    virtual std::optional<ScreenPoint> position() = 0;
};

// X11's pointer query on the display of $DISPLAY.
std::unique_ptr<PointerPosition> makeSystemPointerPosition();

}  // namespace q30x
