#include "settings/default_files.h"

#include <cstring>
#include <memory>

#include "macros/macro_library.h"
#include "platform/paths.h"
#include "settings/profile_index.h"

namespace q30x {
namespace {

constexpr std::size_t kStatsFileSize = 24;
constexpr int32_t kEnglish = 2;

template <typename Record>
std::vector<uint8_t> bytesOf(const Record& record) {
    const auto* begin = reinterpret_cast<const uint8_t*>(&record);
    return {begin, begin + sizeof record};
}

}  // namespace

std::vector<DefaultFile> factoryDefaultFiles() {
    std::vector<DefaultFile> files;
    files.push_back({filenames::kMacro, std::vector<uint8_t>(sizeof(MacroLibrary), 0)});
    files.push_back({filenames::kLanguage, bytesOf(kEnglish)});
    files.push_back({filenames::kStats, std::vector<uint8_t>(kStatsFileSize, 0)});

    auto index = std::make_unique<ProfileIndex>();
    std::memset(static_cast<void*>(index.get()), 0, sizeof *index);
    for (auto& entry : index->entries) entry.entryMagic = kIndexEntryMagic;
    index->entries[0].selected = 1;
    files.push_back({filenames::kProfileIndex, bytesOf(*index)});

    auto profile = std::make_unique<ProfileRecord>();
    fillProfileDefaults(*profile, 0);
    for (int n = 1; n <= kProfileCount; ++n) files.push_back({profileFileName(n), bytesOf(*profile)});
    return files;
}

}  // namespace q30x
