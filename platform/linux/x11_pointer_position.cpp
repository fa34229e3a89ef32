#include <X11/Xlib.h>

#include "platform/pointer_position.h"

namespace q30x {

namespace {

class X11PointerPosition final : public PointerPosition {
public:
    X11PointerPosition() : display_(XOpenDisplay(nullptr)) {}
    ~X11PointerPosition() override {
        if (display_) XCloseDisplay(display_);
    }
    X11PointerPosition(const X11PointerPosition&) = delete;
    X11PointerPosition& operator=(const X11PointerPosition&) = delete;

    std::optional<ScreenPoint> position() override {
        if (!display_) return std::nullopt;
        Window root = 0, child = 0;
        int rootX = 0, rootY = 0, winX = 0, winY = 0;
        unsigned mask = 0;
        if (!XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &winX, &winY, &mask))
            return std::nullopt;
        return ScreenPoint{rootX, rootY};
    }

private:
    Display* display_;
};

}  // namespace

std::unique_ptr<PointerPosition> makeSystemPointerPosition() { return std::make_unique<X11PointerPosition>(); }

}  // namespace q30x
