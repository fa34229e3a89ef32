#include "platform/evdev_frames.h"

#include <gtest/gtest.h>

namespace q30x {
namespace {

// Swallows the messages it is told to and remembers every event.
struct ChoosingSink final : InputEventSink {
    std::vector<uint32_t> swallow;
    std::vector<MouseEvent> seen;
    bool onKey(const LinuxKeyEvent&) override { return false; }
    bool onMouse(const MouseEvent& e) override {
        seen.push_back(e);
        for (uint32_t m : swallow)
            if (m == e.message) return true;
        return false;
    }
};

constexpr EvdevEvent kSyn{kEvSyn, kSynReport, 0};

std::vector<EvdevEvent> run(EvdevFrameFilter& filter, std::initializer_list<EvdevEvent> events) {
    std::vector<EvdevEvent> out;
    for (const auto& e : events)
        for (const auto& kept : filter.feed(e)) out.push_back(kept);
    return out;
}

TEST(EvdevFrameFilter, PassesFramesWholeWhenNothingIsSwallowed) {
    ChoosingSink sink;
    EvdevFrameFilter filter(sink);
    std::vector<EvdevEvent> frame = {{kEvMsc, 4, 0x90003}, {kEvKey, 0x112, 1}, {kEvRel, kRelX, 3}, kSyn};
    EXPECT_EQ(run(filter, {frame[0], frame[1], frame[2], frame[3]}), frame);
    ASSERT_EQ(sink.seen.size(), 2u);
    EXPECT_EQ(sink.seen[0].message, kMiddleDown);
    EXPECT_EQ(sink.seen[1].message, kMouseMove);  // one move per frame, after its buttons
}

TEST(EvdevFrameFilter, SwallowedPressLeavesTheRestOfTheFrame) {
    ChoosingSink sink;
    sink.swallow = {kMiddleDown, kMiddleUp};
    EvdevFrameFilter filter(sink);
    EXPECT_EQ(run(filter, {{kEvMsc, 4, 0x90003}, {kEvKey, 0x112, 1}, {kEvRel, kRelY, -2}, kSyn}),
              (std::vector<EvdevEvent>{{kEvMsc, 4, 0x90003}, {kEvRel, kRelY, -2}, kSyn}));
    EXPECT_EQ(run(filter, {{kEvKey, 0x112, 0}, kSyn}), std::vector<EvdevEvent>{});
}

TEST(EvdevFrameFilter, SwallowedNotchTakesItsHighResolutionTwin) {
    ChoosingSink sink;
    sink.swallow = {kWheel};
    EvdevFrameFilter filter(sink);
    EXPECT_EQ(run(filter, {{kEvRel, kRelWheel, 1}, {kEvRel, kRelWheelHiRes, 120}, kSyn}), std::vector<EvdevEvent>{});
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_GT(sink.seen[0].mouseData, 0);
    sink.swallow.clear();
    EXPECT_EQ(run(filter, {{kEvRel, kRelWheel, -1}, {kEvRel, kRelWheelHiRes, -120}, kSyn}),
              (std::vector<EvdevEvent>{{kEvRel, kRelWheel, -1}, {kEvRel, kRelWheelHiRes, -120}, kSyn}));
}

TEST(EvdevFrameFilter, KeyboardKeysGoToTheKeyboardHook) {
    struct KeySink final : InputEventSink {
        std::vector<std::pair<uint16_t, int32_t>> keys;
        bool onKey(const LinuxKeyEvent& e) override {
            keys.push_back({e.evdevCode, e.value});
            return false;
        }
        bool onMouse(const MouseEvent&) override { return false; }
    } sink;
    EvdevFrameFilter filter(sink);
    std::vector<EvdevEvent> frame = {{kEvKey, 30, 1}, kSyn};
    EXPECT_EQ(run(filter, {frame[0], frame[1], {kEvKey, 30, 2}, kSyn, {kEvKey, 30, 0}, kSyn}).size(), 6u);
    EXPECT_EQ(sink.keys, (std::vector<std::pair<uint16_t, int32_t>>{{30, 1}, {30, 2}, {30, 0}}));
}

TEST(EvdevFrameFilter, SideButtonsAreNamedByDirection) {
    ChoosingSink sink;
    EvdevFrameFilter filter(sink);
    run(filter, {{kEvKey, 0x113, 1}, kSyn, {kEvKey, 0x114, 1}, kSyn});
    ASSERT_EQ(sink.seen.size(), 2u);
    EXPECT_EQ(sink.seen[0].message + sink.seen[0].mouseData, 0x1020Bu);
    EXPECT_EQ(sink.seen[1].message + sink.seen[1].mouseData, 0x2020Bu);
}

}  // namespace
}  // namespace q30x
