#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/profile_record.h"

namespace q30x {

inline constexpr int32_t kIndexEntryMagic = 0xBEBE;
inline constexpr int kProfileCount = 5;

// One profile's entry in "Profile/ConfigInfo.cfg"; the layout is the file's.
struct ProfileIndexEntry {
    int32_t entryMagic;
    int32_t selected;
    uint8_t reserved0[4];
    char16_t profileName[kPathUnits];  // carried unchanged, never used
    char16_t profilePath[kPathUnits];  // rebuilt at every start: the stored value is not trusted
    uint8_t reserved1[520];
    int32_t macroRefs[kButtonCount];
};

static_assert(sizeof(ProfileIndexEntry) == 1600);
static_assert(offsetof(ProfileIndexEntry, entryMagic) == 0);
static_assert(offsetof(ProfileIndexEntry, selected) == 4);
static_assert(offsetof(ProfileIndexEntry, reserved0) == 8);
static_assert(offsetof(ProfileIndexEntry, profileName) == 12);
static_assert(offsetof(ProfileIndexEntry, profilePath) == 532);
static_assert(offsetof(ProfileIndexEntry, reserved1) == 1052);
static_assert(offsetof(ProfileIndexEntry, macroRefs) == 1572);

struct ProfileIndex {
    ProfileIndexEntry entries[kProfileCount];  // entry n-1 for profile n
};

static_assert(sizeof(ProfileIndex) == 8000);
static_assert(offsetof(ProfileIndex, entries[1]) == 1600);

inline bool isEntryMarkedSelected(const ProfileIndexEntry& entry) {
    return entry.entryMagic == kIndexEntryMagic && entry.selected != 0;
}

}  // namespace q30x
