#include "platform/evdev_frames.h"

#include <gtest/gtest.h>

namespace q30x {
namespace {

// Swallows the messages it is told to and remembers every event.
struct ChoosingSink final : InputEventSink {
    std::vector<uint32_t> swallow;
    std::vector<MouseEvent> seen;
    bool onKey(const KeyEvent&) override { return false; }
    bool onMouse(const MouseEvent& e) override {
        seen.push_back(e);
        for (uint32_t m : swallow)
            if (m == e.message) return true;
        return false;
    }
};

constexpr EvdevEvent kSyn{kEvSyn, kSynReport, 0};

std::vector<EvdevEvent> run(PointerFrameFilter& filter, std::initializer_list<EvdevEvent> events) {
    std::vector<EvdevEvent> out;
    for (const auto& e : events)
        for (const auto& kept : filter.feed(e)) out.push_back(kept);
    return out;
}

TEST(PointerFrameFilter, PassesFramesWholeWhenNothingIsSwallowed) {
    ChoosingSink sink;
    PointerFrameFilter filter(sink);
    std::vector<EvdevEvent> frame = {{kEvMsc, 4, 0x90003}, {kEvKey, 0x112, 1}, {kEvRel, kRelX, 3}, kSyn};
    EXPECT_EQ(run(filter, {frame[0], frame[1], frame[2], frame[3]}), frame);
    ASSERT_EQ(sink.seen.size(), 2u);
    EXPECT_EQ(sink.seen[0].message, kMiddleDown);
    EXPECT_EQ(sink.seen[1].message, kMouseMove);  // one move per frame, after its buttons
}

TEST(PointerFrameFilter, SwallowedPressLeavesTheRestOfTheFrame) {
    ChoosingSink sink;
    sink.swallow = {kMiddleDown, kMiddleUp};
    PointerFrameFilter filter(sink);
    EXPECT_EQ(run(filter, {{kEvMsc, 4, 0x90003}, {kEvKey, 0x112, 1}, {kEvRel, kRelY, -2}, kSyn}),
              (std::vector<EvdevEvent>{{kEvMsc, 4, 0x90003}, {kEvRel, kRelY, -2}, kSyn}));
    EXPECT_EQ(run(filter, {{kEvKey, 0x112, 0}, kSyn}), std::vector<EvdevEvent>{});
}

TEST(PointerFrameFilter, SwallowedNotchTakesItsHighResolutionTwin) {
    ChoosingSink sink;
    sink.swallow = {kWheel};
    PointerFrameFilter filter(sink);
    EXPECT_EQ(run(filter, {{kEvRel, kRelWheel, 1}, {kEvRel, kRelWheelHiRes, 120}, kSyn}), std::vector<EvdevEvent>{});
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_GT(sink.seen[0].mouseData, 0);
    sink.swallow.clear();
    EXPECT_EQ(run(filter, {{kEvRel, kRelWheel, -1}, {kEvRel, kRelWheelHiRes, -120}, kSyn}),
              (std::vector<EvdevEvent>{{kEvRel, kRelWheel, -1}, {kEvRel, kRelWheelHiRes, -120}, kSyn}));
}

TEST(PointerFrameFilter, SideButtonsAreNamedByDirection) {
    ChoosingSink sink;
    PointerFrameFilter filter(sink);
    run(filter, {{kEvKey, 0x113, 1}, kSyn, {kEvKey, 0x114, 1}, kSyn});
    ASSERT_EQ(sink.seen.size(), 2u);
    EXPECT_EQ(sink.seen[0].message + sink.seen[0].mouseData, 0x1020Bu);
    EXPECT_EQ(sink.seen[1].message + sink.seen[1].mouseData, 0x2020Bu);
}

}  // namespace
}  // namespace q30x
