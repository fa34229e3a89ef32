#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

#include "platform/input_sources.h"
#include "tests/support/xvfb.h"

// Last: its macros (None, Bool) would break the headers above.
#include <X11/Xlib.h>

namespace q30x {
namespace {

// Collects what the source delivers on its own thread.
struct CollectingSink final : InputEventSink {
    bool onKey(const LinuxKeyEvent& event) override {
        std::lock_guard lock(mutex);
        keys.push_back({event.evdevCode, event.value});
        changed.notify_all();
        return false;
    }
    bool onMouse(const MouseEvent& event) override {
        std::lock_guard lock(mutex);
        if (event.message != kMouseMove) mouse.push_back(event);
        else ++moves;
        changed.notify_all();
        return true;  // asks to swallow: an observe-only source cannot, and must not pretend
    }
    bool waitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return mouse.size() >= count; });
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<MouseEvent> mouse;
    std::vector<std::pair<uint16_t, int32_t>> keys;
    int moves = 0;
};

TEST(X11RawInputSource, ReportsButtonsAndWheelOfTheWholeDesktop) {
    test::XvfbServer server;
    ASSERT_TRUE(server.running());
    auto source = makeX11RawInputSource();
    CollectingSink sink;
    ASSERT_TRUE(source->start(sink));
    EXPECT_FALSE(source->canSwallow());

    test::fakeButton(2, true);
    test::fakeButton(2, false);
    test::fakeButton(5, true);
    test::fakeButton(5, false);
    test::fakeButton(8, true);
    test::fakeMotion(100, 100);
    test::fakeKey(38, true);  // the A key: evdev 30
    test::fakeKey(38, false);
    ASSERT_TRUE(sink.waitFor(4));
    {
        std::unique_lock lock(sink.mutex);
        sink.changed.wait_for(lock, std::chrono::seconds(5), [&] { return sink.keys.size() >= 2; });
    }
    source->stop();

    std::lock_guard lock(sink.mutex);
    ASSERT_EQ(sink.mouse.size(), 4u);
    EXPECT_EQ(sink.mouse[0].message, kMiddleDown);
    EXPECT_EQ(sink.mouse[1].message, kMiddleUp);
    EXPECT_EQ(sink.mouse[2].message, kWheel);
    EXPECT_LT(sink.mouse[2].mouseData, 0);
    EXPECT_EQ(sink.mouse[3].message, kSideDown);
    EXPECT_EQ(sink.mouse[3].mouseData, kSideBack);
    EXPECT_EQ(sink.keys, (std::vector<std::pair<uint16_t, int32_t>>{{30, 1}, {30, 0}}));
}

TEST(X11RawInputSource, ReportsClicksWhileAnotherClientHoldsThePointerGrab) {
    test::XvfbServer server;
    ASSERT_TRUE(server.running());
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    const Window window = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 100, 100, 0, 0, 0);
    XMapWindow(other, window);
    XSync(other, False);
    ASSERT_EQ(XGrabPointer(other, window, False, ButtonPressMask | ButtonReleaseMask, GrabModeAsync, GrabModeAsync,
                           None, None, CurrentTime),
              GrabSuccess);
    XSync(other, False);
    auto source = makeX11RawInputSource();
    CollectingSink sink;
    ASSERT_TRUE(source->start(sink));
    test::fakeButton(1, true);
    test::fakeButton(1, false);
    EXPECT_TRUE(sink.waitFor(2));
    source->stop();
    XCloseDisplay(other);
    std::lock_guard lock(sink.mutex);
    ASSERT_EQ(sink.mouse.size(), 2u);
    EXPECT_EQ(sink.mouse[0].message, kLeftDown);
}

TEST(X11RawInputSource, StartFailsWithoutADisplay) {
    const char* old = std::getenv("DISPLAY");
    std::string saved = old ? old : "";
    ::setenv("DISPLAY", ":9998", 1);
    auto source = makeX11RawInputSource();
    CollectingSink sink;
    EXPECT_FALSE(source->start(sink));
    source->stop();
    if (old) ::setenv("DISPLAY", saved.c_str(), 1);
    else ::unsetenv("DISPLAY");
}

}  // namespace
}  // namespace q30x
