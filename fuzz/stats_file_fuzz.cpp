// Any bytes as "Sts.cfg": the load, what the statistics page shows of the
// counters, counting on from them, and the save must neither crash nor read
// out of bounds, and a saved block must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "pages/stats.h"

using namespace q30x;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::writeInput(fuzz::folders().working, filenames::kStats, data, size);
    fuzz::SilentMessages messages;
    static const StringCatalogue strings;
    const StatsBlock loaded = loadStatsFile(fuzz::folders(), messages);
    Statistics statistics;
    statistics.setBlock(loaded);
    const int level = statistics.updateLevel();
    fuzz::expect(level >= 0 && levelBarWidth(level) >= 0, "a trophy level and bar that can be drawn");
    distanceText(loaded.distance);
    for (uintptr_t code : {0x201u, 0x204u, 0x207u, 0x20A01u, 0x20A00u, 0x1020Bu, 1u}) statistics.count(code);
    statistics.updateLevel();
    fuzz::expect(saveStatsFile(fuzz::folders(), messages, strings, statistics.block(), 0), "the counters saved");
    const StatsBlock again = loadStatsFile(fuzz::folders(), messages);
    fuzz::expect(std::memcmp(&again, &statistics.block(), sizeof again) == 0, "the saved counters to read back");
    return 0;
}
