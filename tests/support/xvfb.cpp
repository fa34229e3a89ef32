#include "tests/support/xvfb.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <cmath>
#include <cstring>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace q30x::test {

XvfbServer::XvfbServer() {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return;
    // Xvfb writes the display number it chose to the descriptor it is given.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 0, 0);
    const char* argv[] = {"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", "1280x800x24", nullptr};
    if (::posix_spawnp(&pid_, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    std::string number;
    pollfd waitFor{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (pid_ > 0 && ::poll(&waitFor, 1, 10000) > 0 && ::read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(pipeFds[0]);
    if (number.empty()) return;
    display_ = ":" + number;
    if (const char* old = std::getenv("DISPLAY")) {
        hadDisplay_ = true;
        previousDisplay_ = old;
    }
    ::setenv("DISPLAY", display_.c_str(), 1);
}

XvfbServer::~XvfbServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (hadDisplay_) ::setenv("DISPLAY", previousDisplay_.c_str(), 1);
    else ::unsetenv("DISPLAY");
}

PointerControl readPointerControl() {
    PointerControl control;
    if (Display* display = XOpenDisplay(nullptr)) {
        XGetPointerControl(display, &control.numerator, &control.denominator, &control.threshold);
        XCloseDisplay(display);
    }
    return control;
}

namespace {

constexpr const char* kAccelSpeed = "libinput Accel Speed";

int firstSlavePointer(Display* display) {
    int count = 0, found = -1;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
    for (int i = 0; i < count && found < 0; ++i)
        if (devices[i].use == XISlavePointer) found = devices[i].deviceid;
    if (devices) XIFreeDeviceInfo(devices);
    return found;
}

}  // namespace

bool writeAccelSpeed(float value) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    const int device = firstSlavePointer(display);
    if (device >= 0) {
        XIChangeProperty(display, device, XInternAtom(display, kAccelSpeed, False), XInternAtom(display, "FLOAT", False),
                         32, XIPropModeReplace, reinterpret_cast<unsigned char*>(&value), 1);
        XSync(display, False);
    }
    XCloseDisplay(display);
    return device >= 0;
}

float readAccelSpeed() {
    float value = std::nanf("");
    Display* display = XOpenDisplay(nullptr);
    if (!display) return value;
    const int device = firstSlavePointer(display);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (device >= 0 &&
        XIGetProperty(display, device, XInternAtom(display, kAccelSpeed, False), 0, 1, False,
                      XInternAtom(display, "FLOAT", False), &type, &format, &items, &after, &data) == Success &&
        data && items == 1 && format == 32)
        std::memcpy(&value, data, sizeof value);
    if (data) XFree(data);
    XCloseDisplay(display);
    return value;
}

void fakeButton(int button, bool pressed) {
    if (Display* display = XOpenDisplay(nullptr)) {
        XTestFakeButtonEvent(display, static_cast<unsigned>(button), pressed ? True : False, CurrentTime);
        XSync(display, False);
        XCloseDisplay(display);
    }
}

void fakeKey(int x11KeyCode, bool pressed) {
    if (Display* display = XOpenDisplay(nullptr)) {
        XTestFakeKeyEvent(display, static_cast<unsigned>(x11KeyCode), pressed ? True : False, CurrentTime);
        XSync(display, False);
        XCloseDisplay(display);
    }
}

void fakeMotion(int x, int y) {
    if (Display* display = XOpenDisplay(nullptr)) {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        XSync(display, False);
        XCloseDisplay(display);
    }
}

}  // namespace q30x::test
