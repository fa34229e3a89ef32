#include "settings/default_files.h"

#include <gtest/gtest.h>

#include "tests/support/bytes.h"

namespace q30x {
namespace {

using test::textAt;
using test::u32At;

TEST(FactoryDefaults, AreTheNineFilesInSeedingOrder) {
    std::vector<DefaultFile> files = factoryDefaultFiles();
    std::vector<std::string> names;
    for (const auto& file : files) names.push_back(file.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Macro.cfg", "Language.cfg", "Sts.cfg", "Profile/ConfigInfo.cfg",
                                               "Profile/Profile1.cfg", "Profile/Profile2.cfg", "Profile/Profile3.cfg",
                                               "Profile/Profile4.cfg", "Profile/Profile5.cfg"}));

    EXPECT_EQ(files[0].bytes, std::vector<uint8_t>(2052000, 0));
    EXPECT_EQ(files[1].bytes, (std::vector<uint8_t>{2, 0, 0, 0}));
    EXPECT_EQ(files[2].bytes, std::vector<uint8_t>(24, 0));

    const std::vector<uint8_t>& index = files[3].bytes;
    ASSERT_EQ(index.size(), 8000u);
    for (int n = 0; n < 5; ++n) {
        EXPECT_EQ(u32At(index, 1600 * n), 0xBEBEu);
        EXPECT_EQ(u32At(index, 1600 * n + 4), n == 0 ? 1u : 0u);
        for (std::size_t b = 1600 * n + 8; b < 1600u * (n + 1); ++b) ASSERT_EQ(index[b], 0) << b;
    }
    for (int n = 4; n < 9; ++n) {
        ASSERT_EQ(files[n].bytes.size(), 22252u);
        EXPECT_EQ(u32At(files[n].bytes, 0), 0x80800265u);
        EXPECT_EQ(textAt(files[n].bytes, 4 + 548), u"Click");
        EXPECT_EQ(files[n].bytes, files[4].bytes);
    }
}

}  // namespace
}  // namespace q30x
