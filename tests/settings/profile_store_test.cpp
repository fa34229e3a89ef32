#include "settings/profile_store.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/utf16.h"
#include "settings/default_files.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using test::bytesOf;
using test::putU32;
using test::readAll;
using test::u32At;
using test::writeAll;

class ProfileStoreTest : public ::testing::Test {
protected:
    ProfileStoreTest() : folders{temp.file("program"), temp.file("work")} {
        for (const auto& file : factoryDefaultFiles()) writeAll(joinPath(folders.program, file.name), file.bytes);
        strings.setEntry(catalogueIndex("str_msg2"), u"File %s not found.");
        strings.setEntry(catalogueIndex("str_msg4"), u"Access denied (profile).");
        strings.setEntry(catalogueIndex("str_msg5"), u"Access denied (saving).");
        language.chineseUi = 0;
    }

    std::string work(const std::string& name) const { return joinPath(folders.working, name); }
    std::string profile(int n) const { return work(profileFileName(n)); }

    // A valid profile file that tells itself apart by its pointer speed.
    void writeProfile(int n, int32_t pointerSpeed) {
        auto record = std::make_unique<ProfileRecord>();
        fillProfileDefaults(*record, 0);
        record->pointerSpeed = pointerSpeed;
        writeAll(profile(n), bytesOf(*record));
    }

    // An index with the given entries valid and selected.
    void writeIndex(std::initializer_list<int> selected, bool valid = true) {
        std::vector<uint8_t> bytes(8000, 0);
        for (int n = 0; n < 5; ++n) putU32(bytes, 1600 * n, valid ? 0xBEBE : 0);
        for (int n : selected) putU32(bytes, 1600 * (n - 1) + 4, 1);
        writeAll(work(filenames::kProfileIndex), bytes);
    }

    void seedAllProfiles() {
        seedWorkingFolder(folders);
        for (int n = 1; n <= 5; ++n) writeProfile(n, 100 + n);
    }

    ProfileStore& store() {
        if (!store_) store_ = std::make_unique<ProfileStore>(*state, SettingsContext{folders, messages, strings, language});
        return *store_;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& shown : messages.shown) out.push_back((shown.skinned ? "box: " : shown.caption + ": ") + shown.text);
        return out;
    }

    test::TempFolder temp;
    Folders folders;
    test::RecordedMessages messages;
    StringCatalogue strings;
    LanguageState language;
    std::unique_ptr<SettingsState> state = std::make_unique<SettingsState>();
    std::unique_ptr<ProfileStore> store_;
};

TEST_F(ProfileStoreTest, FirstStartSeedsTheNineFilesPrivately) {
    ASSERT_TRUE(seedWorkingFolder(folders));
    for (const auto& file : factoryDefaultFiles()) EXPECT_EQ(readAll(work(file.name)), file.bytes) << file.name;
    struct stat st {};
    ::stat(folders.working.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(ProfileStoreTest, LaterStartsCopyNothingEvenAfterADeletion) {
    seedWorkingFolder(folders);
    std::filesystem::remove(work("Macro.cfg"));
    EXPECT_FALSE(seedWorkingFolder(folders));
    EXPECT_FALSE(std::filesystem::exists(work("Macro.cfg")));
}

TEST_F(ProfileStoreTest, ALaterStartRemovesWhatInterruptedSavesLeftAndNothingElse) {
    seedWorkingFolder(folders);
    const std::vector<uint8_t> profile = readAll(work("Profile/Profile1.cfg"));
    struct Case {
        std::string name;
        bool removed;
    };
    const Case cases[] = {
        {".Macro.cfg.a1B2c3", true},           {"Profile/.Profile1.cfg.Zz9Yy8", true},
        {"Profile/.ConfigInfo.cfg.000000", true}, {".Sts.cfg.x", false},  // not mkstemp's six characters
        {".hidden", false},                    {"Macro.cfg.abcdef", false},  // no leading dot
        {".notes.txt.ab-def", false},
    };
    for (const Case& c : cases) writeAll(work(c.name), {1, 2, 3});
    EXPECT_FALSE(seedWorkingFolder(folders));
    for (const Case& c : cases) EXPECT_EQ(std::filesystem::exists(work(c.name)), !c.removed) << c.name;
    EXPECT_EQ(readAll(work("Profile/Profile1.cfg")), profile) << "the saved files themselves stay";
}

TEST_F(ProfileStoreTest, SeedingCreatesMissingParents) {
    folders.working = temp.file("deep/er/TARVO/Q30X");
    ASSERT_TRUE(seedWorkingFolder(folders));
    EXPECT_TRUE(std::filesystem::exists(work("Profile/Profile5.cfg")));
}

TEST_F(ProfileStoreTest, StartupLoadsTheSelectedEntry) {
    seedAllProfiles();
    writeIndex({3});
    store().loadProfileIndexAndCurrent();
    EXPECT_EQ(state->currentEntry, 2);
    EXPECT_EQ(state->current.pointerSpeed, 103);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(store().selectionMarks(), (std::array<bool, 5>{false, false, true, false, false}));
}

TEST_F(ProfileStoreTest, StartupWithNothingSelectedTakesProfileOne) {
    seedAllProfiles();
    writeIndex({});
    store().loadProfileIndexAndCurrent();
    EXPECT_EQ(state->currentEntry, 0);
    EXPECT_EQ(state->current.pointerSpeed, 101);
    EXPECT_EQ(state->index.entries[0].selected, 1);
}

TEST_F(ProfileStoreTest, StartupRecreatesAMissingProfileOneSilently) {
    seedAllProfiles();
    writeIndex({});
    std::filesystem::remove(profile(1));
    store().loadProfileIndexAndCurrent();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state->current.pointerSpeed, 10);
    auto defaults = std::make_unique<ProfileRecord>();
    fillProfileDefaults(*defaults, 0);
    EXPECT_EQ(readAll(profile(1)), bytesOf(*defaults));
}

TEST_F(ProfileStoreTest, StartupSkipsASelectedEntryWhoseFileIsMissing) {
    seedAllProfiles();
    writeIndex({2, 4});
    std::filesystem::remove(profile(2));
    store().loadProfileIndexAndCurrent();
    EXPECT_EQ(texts(), (std::vector<std::string>{"box: Failed to open file, check whether there is a " + profile(2) +
                                                 " path?"}));
    EXPECT_EQ(state->currentEntry, 3);
    EXPECT_EQ(state->current.pointerSpeed, 104);
    EXPECT_EQ(state->index.entries[1].selected, 0);
    EXPECT_EQ(u32At(readAll(profile(2)), 0), kProfileMagic);  // replaced by defaults
    EXPECT_EQ(store().selectionMarks(), (std::array<bool, 5>{false, false, false, true, false}));
}

TEST_F(ProfileStoreTest, StartupWithTwoSelectedTakesTheFirstAndKeepsTheOtherMark) {
    seedAllProfiles();
    writeIndex({2, 4});
    store().loadProfileIndexAndCurrent();
    EXPECT_EQ(state->currentEntry, 1);
    EXPECT_EQ(state->index.entries[3].selected, 1);
}

TEST_F(ProfileStoreTest, StartupOverwritesAFileWithoutTheMagic) {
    seedAllProfiles();
    writeIndex({1, 2});
    writeAll(profile(1), std::vector<uint8_t>(22252, 0x33));
    store().loadProfileIndexAndCurrent();
    EXPECT_EQ(texts(), (std::vector<std::string>{"Info: " + profile(1) + " is an invaild Profile!"}));
    EXPECT_EQ(state->currentEntry, 1);
    EXPECT_EQ(u32At(readAll(profile(1)), 0), kProfileMagic);
}

TEST_F(ProfileStoreTest, AShortProfileReadsAsZeroFilled) {
    seedAllProfiles();
    writeIndex({1});
    std::vector<uint8_t> bytes = readAll(profile(1));
    bytes.resize(22236);  // cuts brightness and everything after it
    writeAll(profile(1), bytes);
    store().loadProfileIndexAndCurrent();
    EXPECT_EQ(state->currentEntry, 0);
    EXPECT_EQ(state->current.pointerSpeed, 101);
    EXPECT_EQ(state->current.brightness, 0);
    EXPECT_EQ(state->current.wheelScrollLines, 0);
}

TEST_F(ProfileStoreTest, StoredProfilePathsAreRebuilt) {
    seedAllProfiles();
    writeIndex({1});
    std::vector<uint8_t> index = readAll(work(filenames::kProfileIndex));
    std::string elsewhere = temp.file("elsewhere.cfg");
    writeAll(elsewhere, std::vector<uint8_t>(22252, 0));
    std::u16string wide = fromUtf8(elsewhere);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        index[532 + 2 * i] = static_cast<uint8_t>(wide[i]);
        index[533 + 2 * i] = static_cast<uint8_t>(wide[i] >> 8);
    }
    writeAll(work(filenames::kProfileIndex), index);
    store().loadProfileIndexAndCurrent();
    EXPECT_EQ(state->current.pointerSpeed, 101);
    for (int n = 0; n < 5; ++n) EXPECT_EQ(toUtf8(fixedText(state->index.entries[n].profilePath)), profile(n + 1));
}

TEST_F(ProfileStoreTest, MissingIndexIsReportedAndProfileOneTaken) {
    seedAllProfiles();
    std::filesystem::remove(work(filenames::kProfileIndex));
    store().loadProfileIndexAndCurrent();
    EXPECT_EQ(texts(), (std::vector<std::string>{"box: Failed to open file, check whether there is a " +
                                                 work(filenames::kProfileIndex) + " path?"}));
    EXPECT_EQ(state->currentEntry, 0);
    EXPECT_EQ(state->index.entries[0].entryMagic, 0);
    EXPECT_EQ(state->index.entries[0].selected, 1);
    EXPECT_EQ(store().selectionMarks(), (std::array<bool, 5>{}));  // no entry is valid
}

TEST_F(ProfileStoreTest, SwitchLoadsTheEntryAndItsMacroReferences) {
    seedAllProfiles();
    writeIndex({1, 3});
    store().loadProfileIndexAndCurrent();
    state->index.entries[4].macroRefs[2] = 0x05123456;
    ASSERT_TRUE(store().switchProfile(4));
    EXPECT_EQ(state->currentEntry, 4);
    EXPECT_EQ(state->current.pointerSpeed, 105);
    EXPECT_EQ(state->macroRefs[2], 0x05123456);
    for (int n = 0; n < 5; ++n) EXPECT_EQ(state->index.entries[n].selected, n == 4 ? 1 : 0);
    EXPECT_EQ(store().selectionMarks(), (std::array<bool, 5>{false, false, false, false, true}));
}

TEST_F(ProfileStoreTest, FailedSwitchKeepsThePreviousProfile) {
    seedAllProfiles();
    writeIndex({1});
    store().loadProfileIndexAndCurrent();
    state->current.pointerSpeed = 55;  // an edit not yet applied
    state->macroRefs[0] = 7;
    std::filesystem::remove(profile(2));
    writeAll(profile(3), {1, 2, 3, 4});

    EXPECT_FALSE(store().switchProfile(1));
    EXPECT_FALSE(store().switchProfile(2));

    EXPECT_EQ(texts(), (std::vector<std::string>{
                           "box: Failed to open file, check whether there is a " + profile(2) + " path?",
                           "Info: " + profile(3) + " is an invaild Profile!"}));
    EXPECT_EQ(state->currentEntry, 0);
    EXPECT_EQ(state->current.pointerSpeed, 55);
    EXPECT_EQ(state->macroRefs[0], 7);
    EXPECT_EQ(state->index.entries[0].selected, 1);
    EXPECT_EQ(store().selectionMarks(), (std::array<bool, 5>{true, false, false, false, false}));
    // The missing file was replaced by defaults, so the next click on it works.
    EXPECT_TRUE(store().switchProfile(1));
    EXPECT_EQ(state->current.pointerSpeed, 10);
}

TEST_F(ProfileStoreTest, SaveAfterApplyWritesProfileAndIndexWithTheMacroReferences) {
    seedAllProfiles();
    writeIndex({2});
    store().loadProfileIndexAndCurrent();
    state->current.pointerSpeed = 19;
    state->macroRefs = {0, 0, 0, 0x01000042, 0, 0, 0x02000043};
    store().saveAfterApply();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(readAll(profile(2)), bytesOf(state->current));
    std::vector<uint8_t> index = readAll(work(filenames::kProfileIndex));
    ASSERT_EQ(index.size(), 8000u);
    EXPECT_EQ(u32At(index, 1600 + 1572 + 4 * 3), 0x01000042u);
    EXPECT_EQ(u32At(index, 1600 + 1572 + 4 * 6), 0x02000043u);
    EXPECT_EQ(u32At(index, 1600 + 4), 1u);
    EXPECT_EQ(test::textAt(index, 1600 + 532), fromUtf8(profile(2)));
}

TEST_F(ProfileStoreTest, UnknownBytesSurviveLoadAndSave) {
    seedAllProfiles();
    writeIndex({1});
    std::vector<uint8_t> file = readAll(profile(1));
    for (std::size_t offset : {4u + 12, 4u + 544, 4u + 1068, 4u + 3147, 22096u, 22159u}) file[offset] = 0xA5;
    putU32(file, 4 + 20, 0x00C10006);           // advancedParam
    putU32(file, 22160, 27);                    // heightSetting
    putU32(file, 22192, 0);                     // ledColourIsCustom[0]
    putU32(file, 22208, 25);                    // ledColourPreset[0]
    writeAll(profile(1), file);
    std::vector<uint8_t> index = readAll(work(filenames::kProfileIndex));
    index[8] = 0x77;                            // reserved word
    index[12] = 'N';                            // profileName
    index[1052] = 0x66;                         // reserved block
    writeAll(work(filenames::kProfileIndex), index);

    store().loadProfileIndexAndCurrent();
    store().saveAfterApply();
    EXPECT_EQ(readAll(profile(1)), file);
    std::vector<uint8_t> saved = readAll(work(filenames::kProfileIndex));
    EXPECT_EQ(saved[8], 0x77);
    EXPECT_EQ(saved[12], 'N');
    EXPECT_EQ(saved[1052], 0x66);
}

TEST_F(ProfileStoreTest, SaveFailuresShowTheLanguageTexts) {
    seedAllProfiles();
    writeIndex({1});
    store().loadProfileIndexAndCurrent();
    std::filesystem::remove(profile(1));
    std::filesystem::create_directory(profile(1));  // cannot be replaced: access denied
    store().saveAfterApply();
    std::filesystem::remove(profile(1));
    std::filesystem::remove_all(work("Profile"));  // the path is gone
    store().saveAfterApply();
    EXPECT_EQ(texts(), (std::vector<std::string>{"Info: Access denied (saving).",
                                                 "Info: File " + profile(1) + " not found."}));
}

TEST_F(ProfileStoreTest, DefaultFileThatCannotBeWrittenKeepsTheRecord) {
    seedAllProfiles();
    writeIndex({1});
    store().loadProfileIndexAndCurrent();
    std::filesystem::remove(profile(4));
    std::filesystem::create_directory(profile(4));
    EXPECT_EQ(store().writeDefaultProfileFile(profile(4)), 0);
    EXPECT_EQ(texts(), (std::vector<std::string>{"box: Access denied (profile)."}));
    EXPECT_EQ(state->current.pointerSpeed, 101);
}

TEST_F(ProfileStoreTest, DefaultLabelsFollowTheInterfaceWording) {
    seedWorkingFolder(folders);
    language.chineseUi = 1;
    ASSERT_EQ(store().writeDefaultProfileFile(profile(2)), 1);
    EXPECT_EQ(test::textAt(readAll(profile(2)), 4 + 548), u"单击");
}

}  // namespace
}  // namespace q30x
