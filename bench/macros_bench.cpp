// Cost of the macro payload encoder (run once per macro button at every
// apply) and of loading and saving the 2 MB macro file (start-up, and every
// editor change). The save's two 100 ms pauses go to a fake clock, so only
// the write is measured.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "macros/macro_store.h"
#include "macros/payload_encoder.h"
#include "platform/files.h"

namespace q30x {
namespace {

struct Silent final : UserMessages {
    void info(std::u16string_view) override {}
    void standard(std::u16string_view, std::u16string_view) override {}
};

std::unique_ptr<MacroRecord> recordOf(int events) {
    auto record = std::make_unique<MacroRecord>();
    *record = {};
    record->size = kMacroBaseSize + 4 * static_cast<uint32_t>(events);
    record->magic = kMacroMagic;
    record->loopCount = 1;
    record->eventCount = static_cast<uint32_t>(events);
    const MacroEvent cycle[] = {0xC0000041, 0xA0000032, 0xE0000041, 0xA00007D0};
    for (int i = 0; i < events; ++i) record->events[i] = cycle[i % 4];
    return record;
}

void BM_EncodeWorkedExample(benchmark::State& st) {
    auto record = recordOf(0);
    const MacroEvent events[] = {0xC0000041, 0xA0000032, 0xE0000041, 0xA00007D0, 0xC0000042, 0xE0000042};
    std::copy(std::begin(events), std::end(events), record->events);
    record->eventCount = 6;
    for (auto _ : st) benchmark::DoNotOptimize(encodeMacroPayload(*record, 2));
}
BENCHMARK(BM_EncodeWorkedExample);

// A full record: the encoder fills all 255 slots and stops.
void BM_EncodeFullRecord(benchmark::State& st) {
    auto record = recordOf(kMacroEventCapacity);
    for (auto _ : st) benchmark::DoNotOptimize(encodeMacroPayload(*record, static_cast<int>(st.range(0))));
}
BENCHMARK(BM_EncodeFullRecord)->Arg(2)->Arg(3);

struct MacroFolder {
    MacroFolder() : library(std::make_unique<MacroLibrary>()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "q30x-bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
        folders = {path, path};
        *library = {};
        for (int slot = 0; slot < kMacroSlots; ++slot) {
            library->slots[slot] = *recordOf(kMacroEventCapacity);
            library->slots[slot].id = 0x15000000u + slot;
        }
        store = std::make_unique<MacroStore>(*library, SettingsContext{folders, messages, strings, language}, clock);
        store->saveFile();
    }
    ~MacroFolder() { std::filesystem::remove_all(path); }
    std::string path;
    Folders folders;
    Silent messages;
    StringCatalogue strings;
    LanguageState language;
    FakeClock clock;
    std::unique_ptr<MacroLibrary> library;
    std::unique_ptr<MacroStore> store;
};

void BM_LoadMacroFile(benchmark::State& st) {
    MacroFolder folder;
    for (auto _ : st) benchmark::DoNotOptimize(folder.store->loadFile());
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * static_cast<int64_t>(sizeof(MacroLibrary)));
}
BENCHMARK(BM_LoadMacroFile)->Unit(benchmark::kMillisecond);

void BM_SaveMacroFile(benchmark::State& st) {
    MacroFolder folder;
    for (auto _ : st) benchmark::DoNotOptimize(folder.store->saveFile());
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * static_cast<int64_t>(sizeof(MacroLibrary)));
}
BENCHMARK(BM_SaveMacroFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace q30x
