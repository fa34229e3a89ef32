#pragma once
#include <cstdint>
#include <iosfwd>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace q30x {

// The frame trace: every HID transfer, every pause and every desktop
// mouse-settings call, one line each, in order. Users attach it to bug
// reports, so the format never changes:
//   SET_FEATURE 06 12 01 00 40 00 00 00 00
//   OUTPUT 06 01 00 f0 00 ...        (FAILED appended when refused)
//   SLEEP 50
//   DESKTOP 4 6 10 1
class Trace {
public:
    explicit Trace(std::ostream& out) : out_(out) {}

    void setFeature(std::span<const uint8_t> report, bool ok) { transfer("SET_FEATURE", report, ok); }
    void getFeature(std::span<const uint8_t> answer, bool ok) { transfer("GET_FEATURE", answer, ok); }
    void output(std::span<const uint8_t> report, bool ok) { transfer("OUTPUT", report, ok); }
    void sleep(uint32_t ms);
    void desktop(int action, std::span<const int32_t> values);

private:
    void transfer(std::string_view kind, std::span<const uint8_t> bytes, bool ok);
    void line(const std::string& text);

    std::mutex mutex_;  // the apply worker and the window's thread may both write
    std::ostream& out_;
};

// Two lowercase hex digits per byte, separated by single spaces.
std::string hexBytes(std::span<const uint8_t> bytes);

// A clock whose every sleep is traced before it is taken.
class TracingClock final : public Clock {
public:
    TracingClock(Clock& inner, Trace& trace) : inner_(inner), trace_(trace) {}
    uint32_t tickMs() override { return inner_.tickMs(); }
    void sleepMs(uint32_t ms) override {
        trace_.sleep(ms);
        inner_.sleepMs(ms);
    }

private:
    Clock& inner_;
    Trace& trace_;
};

}  // namespace q30x
