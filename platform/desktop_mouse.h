#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace q30x {

// The desktop's pointer and wheel settings that go with a profile, in the
// numbers of the system's settings calls: action 4 takes the thresholds and
// acceleration {6, 10, 1} or {0, 0, 0}, action 113 the pointer speed 1..20,
// action 105 the wheel lines 1..30 or -1 for a screen per notch.
class DesktopMouseSettings {
public:
    virtual ~DesktopMouseSettings() = default;
    // Each returns false when the desktop did not take the value; nothing is read back.
    virtual bool setMouse(const std::array<int, 3>& thresholdsAndAcceleration) = 0;
    virtual bool setMouseSpeed(int speed) = 0;
    virtual bool setWheelScrollLines(int lines) = 0;
};

inline constexpr int kSetMouse = 4;
inline constexpr int kSetMouseSpeed = 113;
inline constexpr int kSetWheelScrollLines = 105;

// Remembers the calls and changes nothing: the virtual mouse's desktop.
class RecordingDesktopMouseSettings final : public DesktopMouseSettings {
public:
    struct Call {
        int action;
        std::vector<int> values;
        bool operator==(const Call&) const = default;
    };
    bool setMouse(const std::array<int, 3>& v) override { return record({kSetMouse, {v[0], v[1], v[2]}}); }
    bool setMouseSpeed(int speed) override { return record({kSetMouseSpeed, {speed}}); }
    bool setWheelScrollLines(int lines) override { return record({kSetWheelScrollLines, {lines}}); }
    const std::vector<Call>& calls() const { return calls_; }

private:
    bool record(Call call) {
        calls_.push_back(std::move(call));
        return true;
    }
    std::vector<Call> calls_;
};

// The X11 desktop: acceleration through the core pointer control, speed
// through the libinput accel-speed property of every pointer device. What it
// cannot set is told once through `note` and answered with false. Null when
// no display can be opened.
std::unique_ptr<DesktopMouseSettings> makeX11DesktopMouseSettings(void (*note)(const std::string& text));

}  // namespace q30x
