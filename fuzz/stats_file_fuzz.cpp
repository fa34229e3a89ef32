// Any bytes as "Sts.cfg": the load, what the statistics page shows of the
// counters, counting on from them, and the save must neither crash nor read
// out of bounds, and a saved block must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

#include "pages/stats.h"
#include "platform/paths.h"

namespace {

struct Silent final : q30x::UserMessages {
    void info(std::u16string_view) override {}
    void standard(std::u16string_view, std::u16string_view) override {}
};

// One private working folder for the whole run.
const q30x::Folders& folders() {
    static const q30x::Folders made = [] {
        char pattern[] = "/tmp/fuzz_stats.XXXXXX";
        const char* folder = ::mkdtemp(pattern);
        if (!folder) std::abort();
        return q30x::Folders{folder, folder};
    }();
    return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string path = q30x::joinPath(folders().working, q30x::filenames::kStats);
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                   static_cast<std::streamsize>(size));
    Silent messages;
    q30x::StringCatalogue strings;
    const q30x::StatsBlock loaded = q30x::loadStatsFile(folders(), messages);
    q30x::Statistics statistics;
    statistics.setBlock(loaded);
    const int level = statistics.updateLevel();
    if (level < 0 || q30x::levelBarWidth(level) < 0) std::abort();
    q30x::distanceText(loaded.distance);
    for (uintptr_t code : {0x201u, 0x204u, 0x207u, 0x20A01u, 0x20A00u, 0x1020Bu, 1u}) statistics.count(code);
    statistics.updateLevel();
    if (!q30x::saveStatsFile(folders(), messages, strings, statistics.block(), 0)) return 0;
    const q30x::StatsBlock again = q30x::loadStatsFile(folders(), messages);
    if (std::memcmp(&again, &statistics.block(), sizeof again) != 0) std::abort();
    return 0;
}
