// What one desktop input event costs in the hook procedures: the work every
// click and key of the desktop waits for.
#include <benchmark/benchmark.h>

#include "app/input_hooks.h"

namespace q30x {
namespace {

// Counts posts only, as a queued post is the window system's cost, not the hook's.
struct CountingTarget final : MessageTarget {
    uint64_t posts = 0;
    void post(uint32_t, uintptr_t, intptr_t) override { ++posts; }
    intptr_t send(uint32_t, uintptr_t, intptr_t) override { return 0; }
};

// Installed hooks with a window that only counts.
struct Hooked {
    Hooked() { hooks.installHooks(&window); }
    QuietInputSource source{true};
    InputHooks hooks{source};
    CountingTarget window;
};

// Feeds a press and its release per iteration through `procedure`.
template <typename Event, typename Procedure>
void pressAndRelease(benchmark::State& state, Event press, Event release, Procedure procedure) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(procedure(press));
        benchmark::DoNotOptimize(procedure(release));
    }
    state.SetItemsProcessed(2 * state.iterations());
}

void BM_MouseHookPassThrough(benchmark::State& state) {
    Hooked h;
    h.hooks.setStatistics(0, 1);
    for (int32_t code : {0x2020B, 0x1020B, 0x20A00}) h.hooks.addIntercept(code);
    pressAndRelease(state, MouseEvent{kLeftDown, 0}, MouseEvent{kLeftUp, 0},
                    [&](const MouseEvent& e) { return h.hooks.mouseHook(e); });
}
BENCHMARK(BM_MouseHookPassThrough);

void BM_MouseHookIntercepted(benchmark::State& state) {
    Hooked h;
    for (int32_t code = 1; code <= 11; ++code) h.hooks.addIntercept(code);
    h.hooks.addIntercept(0x207);  // the last of twelve entries: the longest scan
    pressAndRelease(state, MouseEvent{kMiddleDown, 0}, MouseEvent{kMiddleUp, 0},
                    [&](const MouseEvent& e) { return h.hooks.mouseHook(e); });
}
BENCHMARK(BM_MouseHookIntercepted);

void BM_KeyboardHook(benchmark::State& state) {
    Hooked h;
    h.hooks.setStatistics(1, 1);
    pressAndRelease(state, KeyEvent{0x41, 0}, KeyEvent{0x41, 0x80},
                    [&](const KeyEvent& e) { return h.hooks.keyboardHook(e); });
}
BENCHMARK(BM_KeyboardHook);

}  // namespace
}  // namespace q30x
