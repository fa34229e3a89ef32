#pragma once
#include <string>
#include <sys/types.h>

namespace q30x::test {

// A private X server for one test: Xvfb on a free display, with DISPLAY
// pointing at it while the object lives.
class XvfbServer {
public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool running() const { return pid_ > 0 && !display_.empty(); }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
    std::string previousDisplay_;
    bool hadDisplay_ = false;
};

// The core pointer's acceleration as the X server holds it.
struct PointerControl {
    int numerator = 0, denominator = 0, threshold = 0;
};
PointerControl readPointerControl();

// libinput's accel-speed property on the first slave pointer, as a libinput
// desktop has it: writeAccelSpeed creates or replaces it (false without a
// pointer), readAccelSpeed gives its value (NaN when it is not there).
bool writeAccelSpeed(float value);
float readAccelSpeed();

// Presses or releases an X11 button, or moves the pointer, as a real device
// would, through the XTest extension.
void fakeButton(int button, bool pressed);
void fakeMotion(int x, int y);
void fakeKey(int x11KeyCode, bool pressed);

}  // namespace q30x::test
