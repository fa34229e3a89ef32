// The real pace of an apply against the virtual mouse: wall time of one
// whole apply next to the sum of the pauses the protocol mandates (counted on
// a fake clock), so the overhead of everything else shows.
#include <benchmark/benchmark.h>

#include <memory>

#include "device/apply_worker.h"
#include "macros/macro_library.h"
#include "platform/virtual/virtual_mouse.h"

namespace q30x {
namespace {

struct NullWindow final : MessageTarget {
    void post(uint32_t, uintptr_t, intptr_t) override {}
    intptr_t send(uint32_t, uintptr_t, intptr_t) override { return 0; }
};

struct Setup {
    explicit Setup(Clock& clock, int macroButtons) : mouse(VirtualMouseConfig{}, clock), link(mouse, clock) {
        fillProfileDefaults(state->current, 0);
        language.languageNumber = 2;
        for (int b = 0; b < macroButtons; ++b) {
            MacroRecord& record = macros->slots[b];
            record.size = kMacroBaseSize + 8;
            record.magic = kMacroMagic;
            record.id = 0x01000000u + static_cast<uint32_t>(b) + 1;
            record.loopCount = 1;
            record.eventCount = 2;
            record.events[0] = macroEvent(kEventKeyDown, 0x41);
            record.events[1] = macroEvent(kEventKeyUp, 0x41);
            state->current.buttons[b + 1].functionType = 6;
            state->macroRefs[b + 1] = static_cast<int32_t>(record.id);
        }
        link.openDevice();
        worker = std::make_unique<ApplyWorker>(ApplyContext{link, *state, *macros, language, hooks, desktop, nullptr});
        worker->setMainWindow(&window);
    }
    VirtualMouse mouse;
    CUSBDriver link;
    std::unique_ptr<SettingsState> state = std::make_unique<SettingsState>();
    std::unique_ptr<MacroLibrary> macros = std::make_unique<MacroLibrary>();
    LanguageState language;
    QuietInputSource source{true};
    InputHooks hooks{source};
    RecordingDesktopMouseSettings desktop;
    NullWindow window;
    std::unique_ptr<ApplyWorker> worker;
};

uint32_t mandatedPausesMs(int macroButtons) {
    FakeClock clock;
    Setup setup(clock, macroButtons);
    clock.clearSleeps();
    NullWindow progress;
    setup.worker->applyProfile(progress);
    uint32_t total = 0;
    for (uint32_t ms : clock.sleeps()) total += ms;
    return total;
}

void BM_ApplyPace(benchmark::State& state) {
    const int macroButtons = static_cast<int>(state.range(0));
    RealClock clock;
    Setup setup(clock, macroButtons);
    NullWindow progress;
    for (auto _ : state) benchmark::DoNotOptimize(setup.worker->applyProfile(progress));
    state.counters["mandated_ms"] = mandatedPausesMs(macroButtons);
}
BENCHMARK(BM_ApplyPace)->Arg(0)->Arg(2)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace q30x
