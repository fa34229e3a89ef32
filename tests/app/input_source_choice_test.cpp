#include "app/input_source_choice.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace q30x
