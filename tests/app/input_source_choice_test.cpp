#include "app/input_source_choice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace q30x {
namespace {

struct FakeSource final : InputEventSource {
    FakeSource(bool startable, bool swallows) : startable(startable), swallows(swallows) {}
    bool start(InputEventSink&) override { return started = startable; }
    void stop() override { started = false; }
    bool canSwallow() const override { return swallows; }
    void setSwallowing(bool on) override { swallowing = on; }
    bool startable, swallows, started = false, swallowing = false;
};

struct NullSink final : InputEventSink {
    bool onKey(const LinuxKeyEvent&) override { return false; }
    bool onMouse(const MouseEvent&) override { return false; }
};

struct Fixture {
    Fixture(bool evdevOpens) {
        auto evdev = std::make_unique<FakeSource>(evdevOpens, true);
        auto x11 = std::make_unique<FakeSource>(true, false);
        preferred = evdev.get();
        observer = x11.get();
        source = std::make_unique<FallbackInputSource>(std::move(evdev), std::move(x11),
                                                       [this](const std::string& text) { notes.push_back(text); });
    }
    FakeSource* preferred;
    FakeSource* observer;
    std::vector<std::string> notes;
    std::unique_ptr<FallbackInputSource> source;
    NullSink sink;
};

TEST(FallbackInputSource, PrefersTheEventDevices) {
    Fixture f(true);
    ASSERT_TRUE(f.source->start(f.sink));
    EXPECT_EQ(f.source->active(), f.preferred);
    f.source->setSwallowing(true);
    EXPECT_TRUE(f.preferred->swallowing);
    EXPECT_TRUE(f.notes.empty());
}

TEST(FallbackInputSource, ObservesOnlyAndSaysSoOnce) {
    Fixture f(false);
    ASSERT_TRUE(f.source->start(f.sink));
    EXPECT_EQ(f.source->active(), f.observer);
    EXPECT_FALSE(f.source->canSwallow());
    f.source->setSwallowing(true);
    f.source->setSwallowing(false);
    f.source->start(f.sink);
    f.source->setSwallowing(true);
    ASSERT_EQ(f.notes.size(), 1u);
    EXPECT_EQ(f.notes[0], kInterceptionUnavailableText);
}

TEST(FallbackInputSource, NothingToReadFailsTheStart) {
    FallbackInputSource source(std::make_unique<FakeSource>(false, true), std::make_unique<FakeSource>(false, false),
                               nullptr);
    NullSink sink;
    EXPECT_FALSE(source.start(sink));
    source.setSwallowing(true);  // harmless without a source
    EXPECT_EQ(source.active(), nullptr);
}

// The apply worker changes swallowing while the window stops and restarts
// the source; a stopped source must never be told to swallow.
TEST(FallbackInputSource, SwallowingRacesStopSafely) {
    struct TrackingSource final : InputEventSource {
        bool start(InputEventSink&) override { return started = true; }
        void stop() override { started = false; }
        bool canSwallow() const override { return true; }
        void setSwallowing(bool) override {
            if (!started) toldWhileStopped = true;
        }
        std::atomic<bool> started = false, toldWhileStopped = false;
    };
    auto tracking = std::make_unique<TrackingSource>();
    TrackingSource* inner = tracking.get();
    FallbackInputSource source(std::move(tracking), nullptr, nullptr);
    NullSink sink;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        for (bool on = true; !done; on = !on) source.setSwallowing(on);
    });
    for (int i = 0; i < 20000; ++i) {
        source.start(sink);
        source.stop();
    }
    done = true;
    worker.join();
    EXPECT_FALSE(inner->toldWhileStopped);
}

}  // namespace
}  // namespace q30x
