// Start-up cost of the settings files: seeding a new working folder and the
// start-up load, on a real temporary folder.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/files.h"
#include "settings/default_files.h"
#include "settings/profile_store.h"

namespace q30x {
namespace {

struct Silent final : UserMessages {
    void info(std::u16string_view) override {}
    void standard(std::u16string_view, std::u16string_view) override {}
};

struct Folder {
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "q30x-bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
        folders = {path + "/program", path + "/work"};
        for (const auto& file : factoryDefaultFiles()) {
            createDirectories(path + "/program/Profile");
            writeFileAtomic(joinPath(folders.program, file.name), file.bytes, FileAccess::UserDefault);
        }
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string path;
    Folders folders;
};

void BM_SeedWorkingFolder(benchmark::State& st) {
    Folder folder;
    for (auto _ : st) {
        std::filesystem::remove_all(folder.folders.working);
        benchmark::DoNotOptimize(seedWorkingFolder(folder.folders));
    }
}
BENCHMARK(BM_SeedWorkingFolder)->Unit(benchmark::kMillisecond);

// A seeded working folder with its profile store, as after start-up.
struct Seeded {
    Seeded() {
        seedWorkingFolder(folder.folders);
        store.loadProfileIndexAndCurrent();
    }
    Folder folder;
    Silent messages;
    StringCatalogue strings;
    LanguageState language;
    std::unique_ptr<SettingsState> state = std::make_unique<SettingsState>();
    ProfileStore store{*state, {folder.folders, messages, strings, language}};
};

void BM_StartupLoad(benchmark::State& st) {
    Seeded seeded;
    for (auto _ : st) seeded.store.loadProfileIndexAndCurrent();
}
BENCHMARK(BM_StartupLoad)->Unit(benchmark::kMicrosecond);

void BM_SaveAfterApply(benchmark::State& st) {
    Seeded seeded;
    for (auto _ : st) seeded.store.saveAfterApply();
}
BENCHMARK(BM_SaveAfterApply)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace q30x
