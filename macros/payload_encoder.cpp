#include "macros/payload_encoder.h"

#include "buttons/key_tables.h"

namespace q30x {
namespace {

// Short delays ride in the low seven bits of a key slot's first byte, in
// 10 ms units; 1,270 ms would overflow them (0x01 + 127) and takes the
// 20 ms form instead.
constexpr uint32_t kLongestShortDelay = 1269;
constexpr uint32_t kLongest20msDelay = 1310700;
constexpr uint32_t kLongest50msDelay = 3276750;
constexpr uint32_t kLongest100msDelay = 6553500;

class SlotWriter {
public:
    explicit SlotWriter(MacroPayload& payload) : payload_(payload) {}
    int next() const { return next_; }
    bool fits(int slots) const { return next_ + slots - 1 <= kPayloadEventSlots; }
    void put(uint8_t first, uint8_t second) {
        payload_[2 * next_] = first;
        payload_[2 * next_ + 1] = second;
        ++next_;
    }
    void putLong(uint8_t unit, uint32_t value) {
        put(0x00, unit);
        put(static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value));
    }
    // A record built here never has two delays in a row; one read from a
    // file might, and must not carry into the release bit.
    void addShortDelay(uint32_t tens) {
        if (next_ == 1) return;
        uint8_t& first = payload_[2 * (next_ - 1)];
        uint32_t delay = (first & 0x7Fu) + tens;
        first = static_cast<uint8_t>((first & 0x80u) | (delay > 0x7F ? 0x7Fu : delay));
    }

private:
    MacroPayload& payload_;
    int next_ = 1;
};

}  // namespace

EncodedMacro encodeMacroPayload(const MacroRecord& record, int languageNumber) {
    EncodedMacro encoded;
    encoded.payload[0] = static_cast<uint8_t>(record.loopCount >> 8);
    encoded.payload[1] = static_cast<uint8_t>(record.loopCount);
    SlotWriter slots(encoded.payload);
    const uint32_t count = storedEventCount(record);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t kind = eventKind(record.events[i]);
        const uint32_t value = eventValue(record.events[i]);
        if (kind == kEventKeyDown || kind == kEventKeyUp) {
            if (!slots.fits(1)) break;
            slots.put(kind == kEventKeyDown ? 0x01 : 0x81, usageOfVirtualKey(value, languageNumber));
        } else if (kind == kEventDelay && i == 0) {
            if (!slots.fits(2)) break;
            slots.putLong(0x03, (value % 65536) / 100);
        } else if (kind == kEventDelay && value <= kLongestShortDelay) {
            slots.addShortDelay(value / 10);
        } else if (kind == kEventDelay && value <= kLongest20msDelay) {
            if (!slots.fits(2)) break;
            slots.putLong(0x01, value / 20);
        } else if (kind == kEventDelay && value <= kLongest50msDelay) {
            if (!slots.fits(2)) break;
            slots.putLong(0x02, value / 50);
        } else if (kind == kEventDelay && value <= kLongest100msDelay) {
            if (!slots.fits(2)) break;
            slots.putLong(0x03, value / 100);
        } else {
            if (!slots.fits(1)) break;
            slots.put(0x00, 0x00);
        }
    }
    encoded.wordCount = slots.next();
    return encoded;
}

}  // namespace q30x
