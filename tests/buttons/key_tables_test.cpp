#include "buttons/key_tables.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

#include "buttons/key_codes.h"
#include "buttons/key_names.h"
#include "platform/utf16.h"
#include "tests/support/fake_keyboard_layout.h"

namespace q30x {
namespace {

constexpr int kUs = 2, kFrench = 3, kGerman = 5, kItalian = 6, kSpanish = 7, kRussian = 10;

TEST(KeyLayoutTable, LanguageNumberPicksTheTable) {
    const std::map<int, std::pair<const char*, std::size_t>> expected = {
        {0, {"US", 107}},       {1, {"US", 107}},      {2, {"US", 107}},       {3, {"French", 108}},
        {4, {"US", 107}},       {5, {"German", 108}},  {6, {"Italian/Spanish", 108}},
        {7, {"Italian/Spanish", 108}}, {8, {"US", 107}}, {9, {"US", 107}},      {10, {"Russian", 108}},
        {11, {"US", 107}},      {12, {"US", 107}},     {13, {"US", 107}},      {-1, {"US", 107}},
    };
    for (const auto& [number, table] : expected) {
        EXPECT_STREQ(keyLayoutName(number), table.first) << number;
        EXPECT_EQ(keyLayoutTable(number).size(), table.second) << number;
    }
}

// The US table as its description groups it: runs of usages against runs
// of virtual keys, or lists of both.
std::vector<KeyPair> usPairs() {
    std::vector<KeyPair> pairs;
    auto run = [&](uint8_t usage, uint8_t last, uint8_t key) {
        for (int u = usage; u <= last; ++u) pairs.push_back({static_cast<uint8_t>(u), static_cast<uint8_t>(key + u - usage)});
    };
    auto list = [&](std::vector<uint8_t> usages, std::vector<uint8_t> keys) {
        for (std::size_t i = 0; i < usages.size(); ++i) pairs.push_back({usages[i], keys[i]});
    };
    run(0x04, 0x1D, 0x41);
    run(0x1E, 0x26, 0x31);
    list({0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C}, {0x30, 0x0D, 0x1B, 0x08, 0x09, 0x20});
    list({0x2D, 0x2E, 0x2F, 0x30, 0x31}, {0xBD, 0xBB, 0xDB, 0xDD, 0xDC});
    list({0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39}, {0xBA, 0xDE, 0xC0, 0xBC, 0xBE, 0xBF, 0x14});
    run(0x3A, 0x45, 0x70);
    list({0x46, 0x47, 0x48}, {0x2C, 0x91, 0x13});
    list({0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E}, {0x2D, 0x24, 0x21, 0x2E, 0x23, 0x22});
    list({0x4F, 0x50, 0x51, 0x52}, {0x27, 0x25, 0x28, 0x26});
    list({0x53, 0x54, 0x55, 0x56, 0x57, 0x58}, {0x90, 0x6F, 0x6A, 0x6D, 0x6B, 0x0D});
    run(0x59, 0x61, 0x61);
    list({0x62, 0x63, 0x65}, {0x60, 0x6E, 0x5D});
    list({0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7}, {0xA2, 0xA0, 0xA4, 0x5B, 0xA3, 0xA1, 0xA5, 0x5C});
    list({0xF0, 0xF1, 0xF2}, {0x01, 0x02, 0x04});
    return pairs;
}

TEST(KeyLayoutTable, UsTableHoldsExactlyItsPairs) {
    const std::vector<KeyPair> expected = usPairs();
    ASSERT_EQ(expected.size(), 107u);
    std::map<uint8_t, uint8_t> expectedMap, actual;
    for (const KeyPair& pair : expected) expectedMap[pair.usage] = pair.virtualKey;
    for (const KeyPair& pair : keyLayoutTable(kUs)) actual[pair.usage] = pair.virtualKey;
    EXPECT_EQ(actual, expectedMap);
    for (const KeyPair& pair : expected) {
        EXPECT_EQ(virtualKeyOfUsage(pair.usage, kUs), pair.virtualKey) << int(pair.usage);
        if (pair.usage != 0x58) {
            EXPECT_EQ(usageOfVirtualKey(pair.virtualKey, kUs), pair.usage) << int(pair.usage);
        }
    }
}

TEST(KeyLayoutTable, EnterAndKeypadEnterShareOneVirtualKey) {
    for (int language : {kUs, kFrench, kGerman, kItalian, kSpanish, kRussian}) {
        EXPECT_EQ(usageOfVirtualKey(0x0D, language), 0x28) << language;
        EXPECT_EQ(virtualKeyOfUsage(0x28, language), 0x0D) << language;
        EXPECT_EQ(virtualKeyOfUsage(0x58, language), 0x0D) << language;
    }
}

TEST(KeyLayoutTable, OnlyEnterOccursTwice) {
    for (int language : {kUs, kFrench, kGerman, kItalian, kRussian}) {
        std::map<uint8_t, int> usages, keys;
        for (const KeyPair& pair : keyLayoutTable(language)) {
            ++usages[pair.usage];
            ++keys[pair.virtualKey];
        }
        for (const auto& [usage, count] : usages) EXPECT_EQ(count, 1) << language << " usage " << int(usage);
        for (const auto& [key, count] : keys) EXPECT_EQ(count, key == 0x0D ? 2 : 1) << language << " key " << int(key);
    }
}

TEST(KeyLayoutTable, MouseButtonPseudoUsages) {
    for (int language : {kUs, kFrench, kGerman, kItalian, kRussian}) {
        for (auto [usage, key] : {std::pair{0xF0, 0x01}, {0xF1, 0x02}, {0xF2, 0x04}}) {
            EXPECT_EQ(virtualKeyOfUsage(usage, language), key);
            EXPECT_EQ(usageOfVirtualKey(key, language), usage);
        }
    }
}

TEST(KeyLayoutTable, KeysWithoutPairConvertToZero) {
    for (int language : {kUs, kFrench}) {
        for (uint32_t key : {0x00u, 0x7Cu, 0x87u, 0xADu, 0xB3u, 0x10u, 0x03u, 0x100u, 0x141u})
            EXPECT_EQ(usageOfVirtualKey(key, language), 0) << std::hex << key;
        for (uint32_t usage : {0x00u, 0x32u, 0x66u, 0x68u, 0x7Fu, 0xE8u, 0xF3u, 0x104u})
            EXPECT_EQ(virtualKeyOfUsage(usage, language), 0) << std::hex << usage;
    }
}

struct LayoutDifferences {
    std::vector<int> languages;
    std::vector<KeyPair> changes;
};

// Every pair that differs from the US table, and the extra key beside Left
// Shift that every non-US table has.
const LayoutDifferences kDifferences[] = {
    {{kFrench},
     {{0x04, 0x51}, {0x14, 0x41}, {0x1A, 0x5A}, {0x1D, 0x57}, {0x33, 0x4D}, {0x10, 0xBC}, {0x2D, 0xDB},
      {0x2F, 0xDD}, {0x30, 0xBA}, {0x34, 0xC0}, {0x35, 0xDE}, {0x36, 0xBE}, {0x37, 0xBF}, {0x38, 0xDF}}},
    {{kGerman},
     {{0x1C, 0x5A}, {0x1D, 0x59}, {0x2D, 0xDB}, {0x2E, 0xDD}, {0x2F, 0xBA}, {0x30, 0xBB}, {0x31, 0xBF},
      {0x33, 0xC0}, {0x35, 0xDC}, {0x38, 0xBD}}},
    {{kItalian, kSpanish},
     {{0x2D, 0xDB}, {0x2E, 0xDD}, {0x2F, 0xBA}, {0x30, 0xBB}, {0x31, 0xBF}, {0x33, 0xC0}, {0x35, 0xDC}, {0x38, 0xBD}}},
    {{kRussian}, {}},
};

TEST(KeyLayoutTable, NationalTablesDifferFromUsExactlyAsListed) {
    for (const auto& table : kDifferences) {
        for (int language : table.languages) {
            std::map<uint8_t, uint8_t> expected;
            for (const KeyPair& pair : keyLayoutTable(kUs)) expected[pair.usage] = pair.virtualKey;
            for (const KeyPair& change : table.changes) expected[change.usage] = change.virtualKey;
            expected[0x64] = 0xE2;
            std::map<uint8_t, uint8_t> actual;
            for (const KeyPair& pair : keyLayoutTable(language)) actual[pair.usage] = pair.virtualKey;
            EXPECT_EQ(actual, expected) << language;
            for (const KeyPair& change : table.changes) {
                EXPECT_EQ(virtualKeyOfUsage(change.usage, language), change.virtualKey) << language;
                EXPECT_EQ(usageOfVirtualKey(change.virtualKey, language), change.usage) << language;
            }
            EXPECT_EQ(usageOfVirtualKey(0xE2, language), 0x64) << language;
            EXPECT_EQ(virtualKeyOfUsage(0x64, language), 0xE2) << language;
        }
    }
    EXPECT_EQ(usageOfVirtualKey(0xE2, kUs), 0);
    EXPECT_EQ(virtualKeyOfUsage(0x64, kUs), 0);
    EXPECT_EQ(usageOfVirtualKey(0xBD, kFrench), 0);  // French has no key on the US minus position's code
}

TEST(KeyCodes, KeysFollowTheLanguagesTable) {
    struct Case {
        int language;
        uint32_t virtualKey;
        uint16_t evdevCode;
    };
    const Case cases[] = {
        {kUs, 0x41, 30},      {kFrench, 0x41, 16},  {kFrench, 0x51, 30},  {kGerman, 0x5A, 21},
        {kUs, 0xBA, 39},      {kFrench, 0xBA, 27},  {kFrench, 0xDF, 53},  {kFrench, 0xE2, 86},
        {kUs, 0x0D, 28},      {kUs, 0x61, 79},      {kUs, 0x01, 0x110},   {kUs, 0x04, 0x112},
        {kUs, 0x10, 42},      {kUs, 0x7C, 183},     {kUs, 0xB3, 164},     {kUs, 0xE2, 0},
        {kUs, 0x00, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(evdevCodeOfVirtualKey(c.virtualKey, c.language), c.evdevCode) << c.language << std::hex << " " << c.virtualKey;

    const Case reverse[] = {
        {kUs, 0x41, 30}, {kFrench, 0x41, 16}, {kUs, 0x0D, 96}, {kUs, 0xA0, 42}, {kUs, 0xA2, 29},
        {kUs, 0xA4, 56}, {kUs, 0x5B, 125},    {kUs, 0x02, 0x111}, {kUs, 0xAF, 115}, {kUs, 0x00, 86},
        {kUs, 0x00, 0},  {kUs, 0x00, 999},
    };
    for (const auto& c : reverse)
        EXPECT_EQ(virtualKeyOfEvdevCode(c.evdevCode, c.language), c.virtualKey) << c.language << " " << c.evdevCode;
    EXPECT_EQ(x11KeyCode(30), 38u);
}

TEST(KeyCodes, EveryTableUsageHasOneKey) {
    std::map<uint8_t, int> rows;
    for (const KeyCodeRow& row : keyCodeRows())
        if (row.usage) ++rows[row.usage];
    for (const KeyPair& pair : keyLayoutTable(kFrench)) EXPECT_EQ(rows[pair.usage], 1) << int(pair.usage);
    EXPECT_EQ(rows.size(), keyLayoutTable(kFrench).size());
}

class KeyNames : public ::testing::Test {
protected:
    std::u16string combination(uint32_t key, int language = kUs) {
        return keyName(key, KeyNameStyle::Combination, language, layout);
    }
    std::u16string macro(uint32_t key, int language = kUs) { return keyName(key, KeyNameStyle::Macro, language, layout); }
    test::FakeKeyboardLayout layout;
};

TEST_F(KeyNames, FixedNamesOfBothStyles) {
    struct Case {
        uint32_t key;
        std::u16string_view combination, macro;
    };
    const Case cases[] = {
        {0x08, u"Backspace", u"Backspace"}, {0x09, u"Tab", u"Tab"},          {0x0D, u"Enter", u"Enter"},
        {0x10, u"Shift", u"Shift"},         {0x11, u"Ctrl", u"Ctrl"},        {0x12, u"Alt", u"Alt"},
        {0x13, u"Pause", u"Pause"},         {0x14, u"CapsLock", u"CapsLock"}, {0x1B, u"Esc", u"Esc"},
        {0x20, u"Space", u"Space"},         {0x21, u"PageUp", u"PageUp"},    {0x22, u"PageDown", u"PageDown"},
        {0x23, u"End", u"End"},             {0x24, u"Home", u"Home"},        {0x25, u"Left", u"Left"},
        {0x26, u"Up", u"Up"},               {0x27, u"Right", u"Right"},      {0x28, u"Down", u"Down"},
        {0x2C, u"PrtSc SysRq", u"PrtSc SysRq"}, {0x2D, u"Insert", u"Insert"}, {0x2E, u"Delete", u"Delete"},
        {0x30, u"0", u"0"},                 {0x39, u"9", u"9"},              {0x41, u"A", u"A"},
        {0x5A, u"Z", u"Z"},                 {0x5B, u"LWin", u"LWin"},        {0x5C, u"RWin", u"RWin"},
        {0x5D, u"App", u"App"},             {0x60, u"(0)", u"NUM 0"},        {0x61, u"(1)", u"NUM 1"},
        {0x69, u"(9)", u"NUM 9"},           {0x6A, u"(*)", u"NUM *"},        {0x6B, u"(+)", u"NUM +"},
        {0x6D, u"(-)", u"NUM -"},           {0x6E, u"(.)", u"NUM ."},        {0x6F, u"(/)", u"NUM /"},
        {0x70, u"F1", u"F1"},               {0x79, u"F10", u"F10"},          {0x7B, u"F12", u"F12"},
        {0x90, u"Numlock", u"Numlock"},     {0x91, u"Scroll Lock", u"Scroll Lock"},
        {0xA0, u"LShift", u"LShift"},       {0xA1, u"RShift", u"RShift"},    {0xA2, u"LCtrl", u"LCtrl"},
        {0xA3, u"RCtrl", u"RCtrl"},         {0xA4, u"LAlt", u"LAlt"},        {0xA5, u"RAlt", u"RAlt"},
        {0x01, u"", u"Left Button"},        {0x02, u"", u"Right Button"},    {0x04, u"", u"Middle Button"},
        {0x00, u"", u""},                   {0xFF, u"", u""},
    };
    layout.characters = {{30, U'q'}, {11, U'&'}};  // keys with fixed names never ask the layout
    for (const auto& c : cases) {
        EXPECT_EQ(combination(c.key), c.combination) << std::hex << c.key;
        EXPECT_EQ(macro(c.key), c.macro) << std::hex << c.key;
    }
}

TEST_F(KeyNames, OtherKeysAreNamedByTheLayoutsCharacter) {
    layout.characters = {{39, U';'}, {27, U'$'}, {53, U'x'}, {86, U'<'}, {26, U'\u00e9'}, {40, U'\u0436'},
                         {12, U'\x1b'}, {41, U'\U0001F600'}};
    struct Case {
        uint32_t key;
        int language;
        std::u16string_view name;
    };
    const Case cases[] = {
        {0xBA, kUs, u";"},      {0xBA, kFrench, u"$"},   {0xDF, kFrench, u"X"},  {0xE2, kGerman, u"<"},
        {0xE2, kUs, u""},       {0xDB, kUs, u"\u00e9"},  {0xDE, kUs, u"\u0436"}, {0xBD, kUs, u""},
        {0xC0, kUs, u"\U0001F600"}, {0xBC, kUs, u""},    {0x7C, kUs, u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(combination(c.key, c.language), c.name) << std::hex << c.key << " " << std::dec << c.language;
        EXPECT_EQ(macro(c.key, c.language), c.name) << std::hex << c.key;
    }
}

TEST_F(KeyNames, NamesLeadBackToTheirKeys) {
    layout.characters = {{39, U';'}, {27, U'$'}};
    struct Case {
        std::u16string_view name;
        KeyNameStyle style;
        int language;
        uint32_t key;
    };
    const Case cases[] = {
        {u"s", KeyNameStyle::Combination, kUs, 0x53},      {u"F5", KeyNameStyle::Combination, kUs, 0x74},
        {u"f12", KeyNameStyle::Combination, kUs, 0x7B},    {u"(+)", KeyNameStyle::Combination, kUs, 0x6B},
        {u"NUM +", KeyNameStyle::Macro, kUs, 0x6B},        {u"(+)", KeyNameStyle::Macro, kUs, 0},
        {u"scroll lock", KeyNameStyle::Combination, kUs, 0x91}, {u"LCTRL", KeyNameStyle::Combination, kUs, 0xA2},
        {u";", KeyNameStyle::Combination, kUs, 0xBA},      {u"$", KeyNameStyle::Combination, kFrench, 0xBA},
        {u"Left Button", KeyNameStyle::Macro, kUs, 0x01},  {u"Left Button", KeyNameStyle::Combination, kUs, 0},
        {u"", KeyNameStyle::Combination, kUs, 0},          {u"Teleport", KeyNameStyle::Combination, kUs, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(virtualKeyOfName(c.name, c.style, c.language, layout), c.key) << toUtf8(c.name);
}

}  // namespace
}  // namespace q30x
