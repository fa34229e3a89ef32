#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "pages/profile_transfer.h"
#include "platform/utf16.h"
#include "settings/profile_record.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

std::vector<uint8_t> imageOf(const ProfileRecord& r) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&r);
    return {bytes, bytes + sizeof r};
}

// A record unlike the defaults in every field the test looks at.
ProfileRecord sampleRecord() {
    ProfileRecord r;
    std::memset(static_cast<void*>(&r), 0x5A, sizeof r);
    r.magic = kProfileMagic;
    return r;
}

class ProfileTransferTest : public ::testing::Test {
protected:
    void SetUp() override { fillProfileDefaults(current, 0); }
    test::TempFolder folder;
    ProfileRecord current;
};

TEST_F(ProfileTransferTest, ImportTakesFilesThatStartWithTheMagic) {
    const ProfileRecord sample = sampleRecord();
    std::vector<uint8_t> whole = imageOf(sample);
    std::vector<uint8_t> head(whole.begin(), whole.begin() + 100);
    std::vector<uint8_t> tail(sizeof(ProfileRecord), 0);
    std::copy(head.begin(), head.end(), tail.begin());
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        std::vector<uint8_t> record;  // the record afterwards
    };
    const Case cases[] = {
        {"a whole record", whole, whole},
        {"a shorter file: the rest becomes zero", head, tail},
        {"the magic alone", {0x65, 0x02, 0x80, 0x80}, [] {
             std::vector<uint8_t> r(sizeof(ProfileRecord), 0);
             r[0] = 0x65, r[1] = 0x02, r[2] = 0x80, r[3] = 0x80;
             return r;
         }()},
    };
    for (const Case& c : cases) {
        const std::string path = folder.file("in.cfg");
        test::writeAll(path, c.file);
        const TransferResult result = importProfileFile(path, current);
        EXPECT_TRUE(result.done) << c.name;
        EXPECT_EQ(toUtf8(result.text), path + " import success!") << c.name;
        EXPECT_EQ(imageOf(current), c.record) << c.name;
    }
}

TEST_F(ProfileTransferTest, ImportRefusesEverythingElseAndKeepsTheRecord) {
    std::vector<uint8_t> tooLong = imageOf(sampleRecord());
    tooLong.push_back(0);
    std::vector<uint8_t> zeroMagic = imageOf(sampleRecord());
    std::fill_n(zeroMagic.begin(), 4, 0);
    struct Case {
        const char* name;
        std::string path;
        std::vector<uint8_t> file;  // written unless empty and `write` is false
        bool write;
    };
    const Case cases[] = {
        {"starts with 00 00 00 00", folder.file("zero.cfg"), zeroMagic, true},
        {"empty", folder.file("empty.cfg"), {}, true},
        {"3 bytes of the magic", folder.file("three.cfg"), {0x65, 0x02, 0x80}, true},
        {"one byte longer than a record", folder.file("long.cfg"), tooLong, true},
        {"missing", folder.file("missing.cfg"), {}, false},
        {"a folder", folder.path(), {}, false},
        {"below a file", folder.file("zero.cfg") + "/x.cfg", {}, false},
    };
    const std::vector<uint8_t> before = imageOf(current);
    for (const Case& c : cases) {
        if (c.write) test::writeAll(c.path, c.file);
        const TransferResult result = importProfileFile(c.path, current);
        EXPECT_FALSE(result.done) << c.name;
        EXPECT_EQ(toUtf8(result.text), c.path + " is an invalid Profile!") << c.name;
        EXPECT_EQ(imageOf(current), before) << c.name;
    }
}

TEST_F(ProfileTransferTest, ImportRefusesAGigabyteFileThatStartsWithTheMagic) {
    const std::string path = folder.file("huge.cfg");
    test::writeAll(path, imageOf(sampleRecord()));
    ASSERT_EQ(::truncate(path.c_str(), 1LL << 30), 0);
    const std::vector<uint8_t> before = imageOf(current);
    EXPECT_FALSE(importProfileFile(path, current).done);
    EXPECT_EQ(imageOf(current), before);
}

TEST_F(ProfileTransferTest, ExportThenImportGivesTheSameBytes) {
    const std::string path = folder.file("out.cfg");
    test::writeAll(path, {1, 2, 3});  // an older file is replaced whole
    const ProfileRecord sample = sampleRecord();
    const TransferResult exported = exportProfileFile(path, sample);
    EXPECT_TRUE(exported.done);
    EXPECT_EQ(toUtf8(exported.text), path + " export success!");
    EXPECT_EQ(test::readAll(path), imageOf(sample));
    ASSERT_TRUE(importProfileFile(path, current).done);
    EXPECT_EQ(imageOf(current), imageOf(sample));
}

TEST_F(ProfileTransferTest, AnImportTakesTheMacroReferencesOfItsMacroButtons) {
    SettingsState state;
    fillProfileDefaults(state.current, 0);
    state.macroRefs = {0, 0x15000009, 0, 0, 0x15000008, 0, 0};  // the replaced profile's
    ProfileRecord file = state.current;
    file.buttons[3].functionType = 6;
    file.buttons[3].macroId = 0x15000001;
    file.buttons[6].macroId = 0x15000002;  // left from an earlier macro: not a macro button now
    const std::string path = folder.file("macros.cfg");
    ASSERT_TRUE(exportProfileFile(path, file).done);

    test::writeAll(folder.file("junk.cfg"), {1, 2, 3, 4});
    EXPECT_FALSE(importProfile(folder.file("junk.cfg"), state).done);
    EXPECT_EQ(state.macroRefs, (ProfileMacroRefs{0, 0x15000009, 0, 0, 0x15000008, 0, 0})) << "a refused file changes nothing";

    ASSERT_TRUE(importProfile(path, state).done);
    EXPECT_EQ(imageOf(state.current), imageOf(file));
    EXPECT_EQ(state.macroRefs, (ProfileMacroRefs{0, 0, 0, 0x15000001, 0, 0, 0}));
}

TEST_F(ProfileTransferTest, ExportIntoAMissingFolderFails) {
    const std::string path = folder.file("no/such/out.cfg");
    const TransferResult result = exportProfileFile(path, current);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(toUtf8(result.text), path + " export failed!");
}

}  // namespace
}  // namespace q30x
