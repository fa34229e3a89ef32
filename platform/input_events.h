#pragma once
#include <cstdint>

namespace q30x {

// Desktop input as the hooks see it, in the numbering the hook messages
// carry: Windows mouse messages, mouse data and virtual-key codes.
struct KeyEvent {
    uint32_t virtualKey;
    uint32_t flags;  // 0x80 released, 0x01 extended key, 0x20 Alt held
};

// A key as the Linux input layer names it.
struct LinuxKeyEvent {
    uint16_t evdevCode;  // an X11 key code less 8
    int32_t value;       // 0 released, 1 pressed, 2 repeated
};

struct MouseEvent {
    uint32_t message;   // 0x200 move, 0x201/0x202 left, 0x204/0x205 right, 0x207/0x208 middle, 0x20A wheel, 0x20B/0x20C side
    int32_t mouseData;  // wheel: notch delta in the high word; side buttons: 1 (back) or 2 (forward) in the high word
};

inline constexpr uint32_t kKeyReleasedFlag = 0x80;
inline constexpr uint32_t kMouseMove = 0x200;
inline constexpr uint32_t kLeftDown = 0x201;
inline constexpr uint32_t kLeftUp = 0x202;
inline constexpr uint32_t kRightDown = 0x204;
inline constexpr uint32_t kRightUp = 0x205;
inline constexpr uint32_t kMiddleDown = 0x207;
inline constexpr uint32_t kMiddleUp = 0x208;
inline constexpr uint32_t kWheel = 0x20A;
inline constexpr uint32_t kSideDown = 0x20B;
inline constexpr uint32_t kSideUp = 0x20C;
inline constexpr int32_t kSideBack = 0x10000;
inline constexpr int32_t kSideForward = 0x20000;
inline constexpr int32_t kWheelNotch = 120 << 16;

// Receives every desktop input event as it happens. The return value says
// whether the event is swallowed (kept from every other program).
class InputEventSink {
public:
    virtual ~InputEventSink() = default;
    virtual bool onKey(const LinuxKeyEvent& event) = 0;
    virtual bool onMouse(const MouseEvent& event) = 0;
};

// Where desktop input comes from. A backend only delivers and, when it can,
// withholds swallowed events; what to swallow is the sink's decision.
class InputEventSource {
public:
    virtual ~InputEventSource() = default;
    // Starts delivering to `sink` until stop(); false when no input can be read.
    virtual bool start(InputEventSink& sink) = 0;
    virtual void stop() = 0;
    // Whether swallowed mouse events are really kept from other programs; an
    // observe-only source says no and delivers all the same.
    virtual bool canSwallow() const = 0;
    // Swallowing is needed only while some button is intercepted; a source
    // takes exclusive hold of the mouse only between these calls.
    virtual void setSwallowing(bool on) = 0;
};

// A source that delivers nothing: for a program that only writes the
// intercept table (the command line) or measures the hooks alone.
class QuietInputSource final : public InputEventSource {
public:
    explicit QuietInputSource(bool startable) : startable_(startable) {}
    bool start(InputEventSink&) override { return startable_; }
    void stop() override {}
    bool canSwallow() const override { return startable_; }
    void setSwallowing(bool) override {}

private:
    bool startable_;
};

}  // namespace q30x
