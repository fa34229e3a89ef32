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

void BM_MouseHookPassThrough(benchmark::State& state) {
    QuietInputSource source{true};
    InputHooks hooks(source);
    CountingTarget window;
    hooks.installHooks(&window);
    hooks.setStatistics(0, 1);
    for (int32_t code : {0x2020B, 0x1020B, 0x20A00}) hooks.addIntercept(code);
    MouseEvent press{kLeftDown, 0}, release{kLeftUp, 0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(hooks.mouseHook(press));
        benchmark::DoNotOptimize(hooks.mouseHook(release));
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_MouseHookPassThrough);

void BM_MouseHookIntercepted(benchmark::State& state) {
    QuietInputSource source{true};
    InputHooks hooks(source);
    CountingTarget window;
    hooks.installHooks(&window);
    for (int32_t code = 1; code <= 11; ++code) hooks.addIntercept(code);
    hooks.addIntercept(0x207);  // the last of twelve entries: the longest scan
    MouseEvent press{kMiddleDown, 0}, release{kMiddleUp, 0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(hooks.mouseHook(press));
        benchmark::DoNotOptimize(hooks.mouseHook(release));
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_MouseHookIntercepted);

void BM_KeyboardHook(benchmark::State& state) {
    QuietInputSource source{true};
    InputHooks hooks(source);
    CountingTarget window;
    hooks.installHooks(&window);
    hooks.setStatistics(1, 1);
    KeyEvent press{0x41, 0}, release{0x41, 0x80};
    for (auto _ : state) {
        benchmark::DoNotOptimize(hooks.keyboardHook(press));
        benchmark::DoNotOptimize(hooks.keyboardHook(release));
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_KeyboardHook);

}  // namespace
}  // namespace q30x
