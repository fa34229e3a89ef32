// Desktop pointer settings on X11. Translation only: the core decides when
// and with which values.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <atomic>
#include <cstring>
#include <string>

#include "platform/desktop_mouse.h"

namespace q30x {
namespace {

constexpr const char* kAccelSpeedProperty = "libinput Accel Speed";

class X11DesktopMouse final : public DesktopMouseSettings {
public:
    X11DesktopMouse(Display* display, void (*note)(const std::string&)) : display_(display), note_(note) {}
    ~X11DesktopMouse() override { XCloseDisplay(display_); }

    bool setMouse(const std::array<int, 3>& v) override {
        // Acceleration level 0 is none; level n multiplies by n + 1 past the first threshold.
        int numerator = v[2] > 0 ? v[2] + 1 : 1;
        int threshold = v[2] > 0 ? v[0] : 0;
        XChangePointerControl(display_, True, True, numerator, 1, threshold);
        XSync(display_, False);
        return true;
    }

    bool setMouseSpeed(int speed) override {
        // libinput refuses anything outside -1..1 with an X error, and Xlib's
        // default handler would end the program over a bad profile file.
        if (speed < 1 || speed > 20) {
            if (note_) note_("The pointer speed " + std::to_string(speed) + " is outside 1 to 20 and is not set.");
            return false;
        }
        Atom property = XInternAtom(display_, kAccelSpeedProperty, True);
        int changed = 0;
        if (property != None) {
            // 1..20 onto libinput's -1..1.
            float value = -1.0f + 2.0f * static_cast<float>(speed - 1) / 19.0f;
            int count = 0;
            XIDeviceInfo* devices = XIQueryDevice(display_, XIAllDevices, &count);
            for (int i = 0; i < count; ++i) {
                if (devices[i].use != XISlavePointer || !hasProperty(devices[i].deviceid, property)) continue;
                Atom floatType = XInternAtom(display_, "FLOAT", False);
                XIChangeProperty(display_, devices[i].deviceid, property, floatType, 32, XIPropModeReplace,
                                 reinterpret_cast<unsigned char*>(&value), 1);
                ++changed;
            }
            XIFreeDeviceInfo(devices);
            XSync(display_, False);
        }
        if (changed == 0) tellOnce(speedNoted_, "The pointer speed cannot be set on this desktop: no pointer device takes libinput's accel speed.");
        return changed > 0;
    }

    bool setWheelScrollLines(int) override {
        tellOnce(wheelNoted_, "The wheel scroll lines cannot be set on this desktop: X11 has no such setting.");
        return false;
    }

private:
    bool hasProperty(int device, Atom property) {
        int count = 0;
        Atom* properties = XIListProperties(display_, device, &count);
        bool found = false;
        for (int i = 0; i < count; ++i) found = found || properties[i] == property;
        XFree(properties);
        return found;
    }

    void tellOnce(std::atomic<bool>& noted, const char* text) {
        if (!noted.exchange(true) && note_) note_(text);
    }

    Display* display_;
    void (*note_)(const std::string&);
    std::atomic<bool> speedNoted_{false};
    std::atomic<bool> wheelNoted_{false};
};

}  // namespace

std::unique_ptr<DesktopMouseSettings> makeX11DesktopMouseSettings(void (*note)(const std::string& text)) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    int opcode = 0, event = 0, error = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::make_unique<X11DesktopMouse>(display, note);
}

}  // namespace q30x
