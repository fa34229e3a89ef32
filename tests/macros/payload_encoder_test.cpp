#include "macros/payload_encoder.h"

#include "macros/macro_rows.h"
#include "tests/support/fake_keyboard_layout.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace q30x {
namespace {

constexpr int kUs = 2, kFrench = 3;

MacroEvent down(uint32_t key) { return macroEvent(kEventKeyDown, key); }
MacroEvent up(uint32_t key) { return macroEvent(kEventKeyUp, key); }
MacroEvent delay(uint32_t ms) { return macroEvent(kEventDelay, ms); }

std::unique_ptr<MacroRecord> recordOf(const std::vector<MacroEvent>& events, uint32_t loops = 1) {
    auto record = std::make_unique<MacroRecord>();
    *record = {};
    record->size = kMacroBaseSize + 4 * static_cast<uint32_t>(events.size());
    record->magic = kMacroMagic;
    record->loopCount = loops;
    record->eventCount = static_cast<uint32_t>(events.size());
    for (std::size_t i = 0; i < events.size() && i < kMacroEventCapacity; ++i) record->events[i] = events[i];
    return record;
}

// The payload's bytes from 0 up to the last non-zero one, and a check that
// nothing follows.
std::vector<uint8_t> used(const EncodedMacro& encoded, std::size_t count) {
    for (std::size_t i = count; i < encoded.payload.size(); ++i) EXPECT_EQ(encoded.payload[i], 0) << "byte " << i;
    return {encoded.payload.begin(), encoded.payload.begin() + static_cast<std::ptrdiff_t>(count)};
}

TEST(PayloadEncoder, WorkedExample) {
    auto record = recordOf({down(0x41), delay(50), up(0x41), delay(2000), down(0x42), up(0x42)});
    EncodedMacro encoded = encodeMacroPayload(*record, kUs);
    EXPECT_EQ(used(encoded, 14),
              (std::vector<uint8_t>{0x00, 0x01, 0x06, 0x04, 0x81, 0x04, 0x00, 0x01, 0x00, 0x64, 0x01, 0x05, 0x81, 0x05}));
    EXPECT_EQ(encoded.wordCount, 7);
}

TEST(PayloadEncoder, DelayForms) {
    struct Case {
        uint32_t ms;
        std::vector<uint8_t> slots;  // after the key-down slot 01 04
        int wordCount;
    };
    const Case cases[] = {
        {0, {0x01, 0x04}, 2},
        {9, {0x01, 0x04}, 2},
        {50, {0x06, 0x04}, 2},
        {1260, {0x7F, 0x04}, 2},
        {1269, {0x7F, 0x04}, 2},
        {1270, {0x01, 0x04, 0x00, 0x01, 0x00, 0x3F}, 4},  // the 20 ms form: 0x01 + 127 would not fit
        {1280, {0x01, 0x04, 0x00, 0x01, 0x00, 0x40}, 4},
        {1310700, {0x01, 0x04, 0x00, 0x01, 0xFF, 0xFF}, 4},
        {1310701, {0x01, 0x04, 0x00, 0x02, 0x66, 0x66}, 4},
        {3276750, {0x01, 0x04, 0x00, 0x02, 0xFF, 0xFF}, 4},
        {3276751, {0x01, 0x04, 0x00, 0x03, 0x7F, 0xFF}, 4},
        {6553500, {0x01, 0x04, 0x00, 0x03, 0xFF, 0xFF}, 4},
        {6553501, {0x01, 0x04, 0x00, 0x00}, 3},  // too long: an empty slot
        {0xFFFFFF, {0x01, 0x04, 0x00, 0x00}, 3},
    };
    for (const auto& c : cases) {
        auto record = recordOf({down(0x41), delay(c.ms)}, 0x0102);
        EncodedMacro encoded = encodeMacroPayload(*record, kUs);
        std::vector<uint8_t> expected = {0x01, 0x02};
        expected.insert(expected.end(), c.slots.begin(), c.slots.end());
        EXPECT_EQ(used(encoded, expected.size()), expected) << c.ms;
        EXPECT_EQ(encoded.wordCount, c.wordCount) << c.ms;
    }
}

TEST(PayloadEncoder, DelayInFirstPositionTakesTheLowSixteenBitsIn100msUnits) {
    struct Case {
        uint32_t ms;
        uint8_t hi, lo;
    };
    const Case cases[] = {{300, 0x00, 0x03}, {65535, 0x02, 0x8F}, {150000, 0x00, 0xBD}, {65536, 0x00, 0x00}};
    for (const auto& c : cases) {
        auto record = recordOf({delay(c.ms), up(0x41)});
        EncodedMacro encoded = encodeMacroPayload(*record, kUs);
        EXPECT_EQ(used(encoded, 8), (std::vector<uint8_t>{0x00, 0x01, 0x00, 0x03, c.hi, c.lo, 0x81, 0x04})) << c.ms;
        EXPECT_EQ(encoded.wordCount, 4);
    }
}

TEST(PayloadEncoder, KeysGoThroughTheLanguagesTable) {
    auto record = recordOf({down(0x41), up(0x01), down(0x0D), up(0xE2), down(0x7C)}, kSingleKeyDownLoops);
    EXPECT_EQ(used(encodeMacroPayload(*record, kUs), 12),
              (std::vector<uint8_t>{0xFF, 0xFE, 0x01, 0x04, 0x81, 0xF0, 0x01, 0x28, 0x81, 0x00, 0x01, 0x00}));
    EXPECT_EQ(used(encodeMacroPayload(*record, kFrench), 12),
              (std::vector<uint8_t>{0xFF, 0xFE, 0x01, 0x14, 0x81, 0xF0, 0x01, 0x28, 0x81, 0x64, 0x01, 0x00}));
}

TEST(PayloadEncoder, EventsOfOtherKindsLeaveAnEmptySlot) {
    auto record = recordOf({down(0x41), 0x12000041, up(0x41)});
    EncodedMacro encoded = encodeMacroPayload(*record, kUs);
    EXPECT_EQ(used(encoded, 8), (std::vector<uint8_t>{0x00, 0x01, 0x01, 0x04, 0x00, 0x00, 0x81, 0x04}));
    EXPECT_EQ(encoded.wordCount, 4);
}

TEST(PayloadEncoder, StopsAtTheFirstEventThatDoesNotFit) {
    std::vector<MacroEvent> events;
    for (int i = 0; i < 256; ++i) events.push_back(i % 2 ? up(0x41) : down(0x41));
    EncodedMacro full = encodeMacroPayload(*recordOf(events), kUs);
    EXPECT_EQ(full.wordCount, 256);
    EXPECT_EQ(full.wordCount & 0xFF, 0);  // the button code's length byte
    EXPECT_EQ(full.payload[510], 0x01);   // slot 255 holds the 255th event, a key down
    EXPECT_EQ(full.payload[511], 0x04);

    // A long delay needing slots 255 and 256 stops the encoding there, even
    // though the key event after it would still fit.
    std::vector<MacroEvent> tight(events.begin(), events.begin() + 254);
    tight.push_back(delay(5000));
    tight.push_back(down(0x42));
    EncodedMacro stopped = encodeMacroPayload(*recordOf(tight), kUs);
    EXPECT_EQ(stopped.wordCount, 255);
    EXPECT_EQ(stopped.payload[510], 0x00);
    EXPECT_EQ(stopped.payload[511], 0x00);

    // A short delay after the last slot still lands on it.
    std::vector<MacroEvent> last(events.begin(), events.begin() + 255);
    last.push_back(delay(100));
    EXPECT_EQ(encodeMacroPayload(*recordOf(last), kUs).payload[510], 0x0B);
}

TEST(PayloadEncoder, BadRecordsStayInsideThePayload) {
    auto record = recordOf({down(0x41), delay(1000), delay(1000), up(0x41), delay(1000), delay(1000)});
    EncodedMacro encoded = encodeMacroPayload(*record, kUs);
    // Two short delays in a row saturate the seven delay bits and keep the release bit.
    EXPECT_EQ(used(encoded, 6), (std::vector<uint8_t>{0x00, 0x01, 0x7F, 0x04, 0xFF, 0x04}));

    auto huge = recordOf({});
    huge->eventCount = 0xFFFFFFFF;
    for (auto& event : huge->events) event = delay(100000);
    EXPECT_EQ(encodeMacroPayload(*huge, kUs).wordCount, 255);  // 127 long delays, then no room
}

}  // namespace
}  // namespace q30x

namespace q30x {
namespace {

// Whatever a damaged file holds, the encoder and the editor rows stay within
// the record and the payload.
TEST(PayloadEncoder, ArbitraryRecordsStayInBounds) {
    test::FakeKeyboardLayout layout;
    auto record = std::make_unique<MacroRecord>();
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 200; ++round) {
        auto* words = reinterpret_cast<uint32_t*>(record.get());
        for (std::size_t i = 0; i < sizeof(MacroRecord) / 4; ++i) words[i] = next();
        if (round % 2) {
            for (auto& event : record->events) event = (event & 0x1FFFFFFF) | (0xA0u + 0x20u * (next() % 3)) << 24;
        }
        EncodedMacro encoded = encodeMacroPayload(*record, 2 + round % 10);
        EXPECT_GE(encoded.wordCount, 1);
        EXPECT_LE(encoded.wordCount, 256);
        EXPECT_LE(rowsOfRecord(*record, 3, layout).size(), std::size_t{kMacroEventCapacity});
    }
}

}  // namespace
}  // namespace q30x
