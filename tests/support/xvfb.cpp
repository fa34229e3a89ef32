#include "tests/support/xvfb.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <cmath>
#include <cstring>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace q30x::test {

namespace {

// The pid in the lock file of display n, or -1.
pid_t lockOwner(int n) {
    const std::string path = "/tmp/.X" + std::to_string(n) + "-lock";
    char text[32] = {};
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return -1;
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    return got > 0 ? static_cast<pid_t>(std::atol(text)) : -1;
}

}  // namespace

XvfbServer::XvfbServer() {
    // Several test processes start servers at once (ctest runs in parallel),
    // and a server that lost the race for a display dies while a client may
    // still reach the winner. So each picks its own numbers and keeps one only
    // when the display's lock names its own server.
    for (int attempt = 0; attempt < 20 && display_.empty(); ++attempt) {
        const int n = 100 + static_cast<int>((::getpid() * 31 + attempt * 97) % 800);
        const std::string name = ":" + std::to_string(n);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        // Without -noreset the server restarts when its last client leaves,
        // and a program connecting in that moment finds no display.
        const char* argv[] = {"Xvfb", name.c_str(), "-noreset", "-nolisten", "tcp", "-screen", "0", "1280x800x24", nullptr};
        pid_t pid = -1;
        if (::posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        if (pid <= 0) return;
        for (int tries = 0; tries < 250; ++tries) {
            if (::waitpid(pid, nullptr, WNOHANG) == pid) {
                pid = -1;  // lost the display to another server
                break;
            }
            if (lockOwner(n) == pid) {
                if (Display* display = XOpenDisplay(name.c_str())) {
                    XCloseDisplay(display);
                    display_ = name;
                    pid_ = pid;
                    break;
                }
            }
            ::usleep(20000);
        }
        if (display_.empty() && pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
    }
    if (display_.empty()) return;
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
