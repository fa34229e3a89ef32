// Observe-only desktop input: XInput2 raw events of the X server. Used when
// the event devices cannot be opened; it can watch but never withhold input.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <atomic>
#include <poll.h>
#include <thread>
#include <unistd.h>

#include "platform/input_sources.h"
#include "platform/input_translation.h"
#include "platform/linux/wake_pipe.h"

namespace q30x {
namespace {

class X11RawInputSource final : public InputEventSource {
public:
    ~X11RawInputSource() override { stop(); }

    bool start(InputEventSink& sink) override {
        stop();
        Display* display = XOpenDisplay(nullptr);
        if (!display) return false;
        // XI 2.1: raw events arrive even while another client holds a grab
        // (a menu, a game, the program's own slanted buttons under the
        // pointer); a 2.0 client loses every click made meanwhile.
        int opcode = 0, event = 0, error = 0, major = 2, minor = 1;
        if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
            XIQueryVersion(display, &major, &minor) != Success) {
            XCloseDisplay(display);
            return false;
        }
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
        for (int type : {XI_RawKeyPress, XI_RawKeyRelease, XI_RawButtonPress, XI_RawButtonRelease, XI_RawMotion})
            XISetMask(bits, type);
        XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
        XSync(display, False);
        if (!wake_.open()) {
            XCloseDisplay(display);
            return false;
        }
        running_ = true;
        InputEventSink* target = &sink;
        reader_ = std::thread([this, display, opcode, target] { read(display, opcode, *target); });
        return true;
    }

    void stop() override {
        if (!reader_.joinable()) return;
        running_ = false;
        wake_.wake();
        reader_.join();
        wake_.close();
    }

    bool canSwallow() const override { return false; }
    void setSwallowing(bool) override {}

private:
    void read(Display* display, int opcode, InputEventSink& sink) {
        pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {wake_.readFd(), POLLIN, 0}};
        while (running_) {
            while (running_ && XPending(display)) {
                XEvent event;
                XNextEvent(display, &event);
                XGenericEventCookie* cookie = &event.xcookie;
                if (cookie->type != GenericEvent || cookie->extension != opcode || !XGetEventData(display, cookie)) continue;
                deliver(cookie->evtype, static_cast<XIRawEvent*>(cookie->data), sink);
                XFreeEventData(display, cookie);
            }
            if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN)) break;
        }
        XCloseDisplay(display);
    }

    static void deliver(int type, const XIRawEvent* raw, InputEventSink& sink) {
        switch (type) {
        case XI_RawButtonPress:
        case XI_RawButtonRelease:
            if (auto event = mouseEventOfX11Button(raw->detail, type == XI_RawButtonPress)) sink.onMouse(*event);
            break;
        case XI_RawKeyPress:
        case XI_RawKeyRelease: {
            // X11 key codes are the evdev codes moved up by 8.
            int value = type == XI_RawKeyRelease ? 0 : (raw->flags & XIKeyRepeat) ? 2 : 1;
            if (raw->detail >= 8) sink.onKey({static_cast<uint16_t>(raw->detail - 8), value});
            break;
        }
        case XI_RawMotion:
            sink.onMouse({kMouseMove, 0});
            break;
        default:
            break;
        }
    }

    std::thread reader_;
    std::atomic<bool> running_{false};
    WakePipe wake_;
};

}  // namespace

std::unique_ptr<InputEventSource> makeX11RawInputSource() { return std::make_unique<X11RawInputSource>(); }

}  // namespace q30x
