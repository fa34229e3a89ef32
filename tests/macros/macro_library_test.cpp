#include "macros/macro_store.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include "macros/game_presets.h"
#include "platform/utf16.h"
#include "tests/support/bytes.h"
#include "tests/support/fake_keyboard_layout.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using test::u32At;

constexpr uint32_t kId = 0x15ABCDEF;
constexpr std::size_t kSlotSize = sizeof(MacroRecord);

MacroRow row(uint32_t kind, uint32_t value) {
    return {kind == kRowDelay ? delayRowText(value) : u"key", kind << 24 | value};
}
MacroRow keyDown(uint32_t key) { return row(kRowKeyDown, key); }
MacroRow keyUp(uint32_t key) { return row(kRowKeyUp, key); }
MacroRow pause(uint32_t ms) { return row(kRowDelay, ms); }

TEST(MacroRows, AdjacentDelaysMergeAndLeadingOnesAreDropped) {
    std::vector<MacroRow> rows = {pause(300), pause(400), keyDown(0x41), pause(100), pause(200), keyUp(0x41)};
    auto record = std::make_unique<MacroRecord>();
    ASSERT_TRUE(buildMacroRecord(rows, u"3", kId, u"Jump", *record).built);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].text, u"700  ms");
    EXPECT_EQ(rows[0].datum, 0x040002BCu);
    EXPECT_EQ(rows[2].text, u"300  ms");
    EXPECT_EQ(record->size, 4100u + 16);
    EXPECT_EQ(record->magic, kMacroMagic);
    EXPECT_EQ(record->id, kId);
    EXPECT_EQ(record->loopCount, 3u);
    ASSERT_EQ(record->eventCount, 3u);
    EXPECT_EQ(record->events[0], 0xC0000041u);
    EXPECT_EQ(record->events[1], 0xA000012Cu);
    EXPECT_EQ(record->events[2], 0xE0000041u);
    EXPECT_EQ(record->events[3], 0u);
    EXPECT_EQ(fixedText(record->name), u"Jump");
}

TEST(MacroRows, MergedDelaysAreCapped) {
    std::vector<MacroRow> rows = {keyDown(0x41), pause(200000), pause(200000), pause(5), keyUp(0x41)};
    mergeDelayRows(rows);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].datum, 0x04000000u | 327670);
    EXPECT_EQ(rows[1].text, u"327670  ms");
}

TEST(MacroRows, LoopCountText) {
    struct Case {
        std::u16string_view text;
        uint32_t loops;
    };
    const Case cases[] = {{u"0", 1},        {u"", 1},           {u"1a", 1},    {u" 5", 1},  {u"-3", 1},
                          {u"99999", 65533}, {u"65533", 65533}, {u"65534", 65533}, {u"42", 42}, {u"007", 7},
                          {u"000", 1},      {u"123456789012345678901234567890", 65533}, {u"\uff15", 1}};
    for (const auto& c : cases) EXPECT_EQ(loopCountFromText(c.text), c.loops) << toUtf8(c.text);
}

TEST(MacroRows, OneKeyDownLoopsForeverWhateverTheText) {
    auto record = std::make_unique<MacroRecord>();
    std::vector<MacroRow> rows = {pause(50), keyDown(0x41)};
    buildMacroRecord(rows, u"12", kId, u"Hold", *record);
    EXPECT_EQ(record->loopCount, 65534u);
    rows = {keyUp(0x41)};
    buildMacroRecord(rows, u"12", kId, u"Release", *record);
    EXPECT_EQ(record->loopCount, 12u);
}

TEST(MacroRows, RecordsHoldAtMostAThousandEvents) {
    std::vector<MacroRow> rows;
    for (int i = 0; i < 1003; ++i) rows.push_back(i % 2 ? keyUp(0x41) : keyDown(0x41));
    auto record = std::make_unique<MacroRecord>();
    BuiltMacro built = buildMacroRecord(rows, u"1", kId, u"Long", *record);
    EXPECT_EQ(built.droppedRows, 3);
    EXPECT_EQ(record->eventCount, 1000u);
    EXPECT_EQ(record->events[999], 0xE0000041u);

    rows.resize(1000);
    EXPECT_EQ(buildMacroRecord(rows, u"1", kId, u"Exact", *record).droppedRows, 0);
}

TEST(MacroRows, RowsOfAStoredMacroAsTheEditorShowsThem) {
    test::FakeKeyboardLayout layout;
    layout.characters = {{39, U';'}};
    auto record = std::make_unique<MacroRecord>();
    *record = {};
    const MacroEvent events[] = {0xC0000001, 0xA0000032, 0xE0000061, 0xC00000BA, 0x50000041, 0xC0000041};
    std::copy(std::begin(events), std::end(events), record->events);
    record->eventCount = 6;
    bool complete = true;
    std::vector<MacroRow> rows = rowsOfRecord(*record, 2, layout, &complete);
    EXPECT_FALSE(complete);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].text, u"Left Button");
    EXPECT_EQ(rows[0].datum, 0x03000001u);
    EXPECT_EQ(rows[1].text, u"50  ms");
    EXPECT_EQ(rows[2].text, u"NUM 1");
    EXPECT_EQ(rows[2].datum, 0x02000061u);
    EXPECT_EQ(rows[3].text, u";");
}

class MacroStoreTest : public ::testing::Test {
protected:
    MacroStoreTest()
        : folders{temp.path(), temp.path()},
          library(std::make_unique<MacroLibrary>()),
          state(std::make_unique<SettingsState>()),
          store(*library, {folders, messages, strings, language}, clock) {
        *library = {};
        language.chineseUi = 0;
        strings.setEntry(catalogueIndex("str_msg2"), u"Missing file %s!");
        strings.setEntry(catalogueIndex("str_msg4"), u"Access denied.");
        fillProfileDefaults(state->current, 0);
        test::writeAll(path(), std::vector<uint8_t>(sizeof(MacroLibrary), 0));
    }

    std::string path() const { return temp.file("Macro.cfg"); }
    std::vector<uint8_t> file() const { return test::readAll(path()); }

    MacroResult storeRows(std::vector<MacroRow> rows, uint32_t id, std::u16string_view name = u"M",
                          std::u16string_view loops = u"1") {
        return store.buildAndStore(rows, loops, &id, name);
    }

    MacroRecord& putMacro(int slot, uint32_t id, std::u16string_view name) {
        MacroRecord& record = library->slots[slot];
        record.size = 4112;
        record.magic = kMacroMagic;
        record.id = id;
        record.loopCount = 1;
        record.eventCount = 2;
        record.events[0] = 0xC0000041;
        record.events[1] = 0xE0000041;
        setFixedText(record.name, name);
        return record;
    }

    test::TempFolder temp;
    Folders folders;
    test::RecordedMessages messages;
    StringCatalogue strings;
    LanguageState language;
    FakeClock clock;
    std::unique_ptr<MacroLibrary> library;
    std::unique_ptr<SettingsState> state;
    MacroStore store;
};

TEST_F(MacroStoreTest, StoreWritesTheSlotLayoutIntoTheFile) {
    ASSERT_EQ(storeRows({keyDown(0x41), pause(50), keyUp(0x41)}, kId, u"Jump", u"9"), MacroResult::Done);
    std::vector<uint8_t> bytes = file();
    ASSERT_EQ(bytes.size(), 2052000u);
    EXPECT_EQ(u32At(bytes, 0), 4112u);
    EXPECT_EQ(u32At(bytes, 4), 0xE8E80010u);
    EXPECT_EQ(u32At(bytes, 8), kId);
    EXPECT_EQ(u32At(bytes, 12), 0u);
    EXPECT_EQ(u32At(bytes, 16), 9u);
    EXPECT_EQ(u32At(bytes, 20), 3u);
    EXPECT_EQ(u32At(bytes, 24), 0xC0000041u);
    EXPECT_EQ(u32At(bytes, 28), 0xA0000032u);
    EXPECT_EQ(u32At(bytes, 32), 0xE0000041u);
    EXPECT_EQ(u32At(bytes, 36), 0u);
    EXPECT_EQ(test::textAt(bytes, 4024), u"Jump");
    EXPECT_EQ(clock.sleeps(), (std::vector<uint32_t>{100, 100}));
}

TEST_F(MacroStoreTest, StoreReplacesTheSameIdElseTakesTheFirstFreeSlot) {
    putMacro(0, 0x01000001, u"A");
    putMacro(2, kId, u"Old");
    library->slots[2].eventCount = 700;
    for (int i = 0; i < 700; ++i) library->slots[2].events[i] = 0xC0000042;
    ASSERT_EQ(storeRows({keyDown(0x43)}, kId, u"New"), MacroResult::Done);
    EXPECT_EQ(fixedText(library->slots[2].name), u"New");
    EXPECT_EQ(library->slots[2].eventCount, 1u);
    EXPECT_EQ(library->slots[2].events[1], 0u);  // the old events are cleared
    EXPECT_EQ(library->slots[2].events[699], 0u);
    EXPECT_TRUE(isFree(library->slots[1]));

    ASSERT_EQ(storeRows({keyDown(0x44)}, 0x15000002, u"Other"), MacroResult::Done);
    EXPECT_EQ(library->slots[1].id, 0x15000002u);
    EXPECT_EQ(test::bytesOf(*library), file());
}

TEST_F(MacroStoreTest, FullLibraryStoresNothing) {
    for (int slot = 0; slot < kMacroSlots; ++slot) putMacro(slot, 0x01000000u + slot, u"x");
    const auto before = test::bytesOf(*library);
    EXPECT_EQ(storeRows({keyDown(0x41)}, kId), MacroResult::LibraryFull);
    EXPECT_EQ(test::bytesOf(*library), before);
    EXPECT_EQ(file(), std::vector<uint8_t>(sizeof(MacroLibrary), 0));
    EXPECT_TRUE(messages.shown.empty());
    // The macro already there can still be changed.
    EXPECT_EQ(storeRows({keyDown(0x42)}, 0x01000007u), MacroResult::Done);
}

TEST_F(MacroStoreTest, RecordsWithoutSizeOrMagicAreRefused) {
    auto record = std::make_unique<MacroRecord>();
    *record = {};
    record->size = 4104;
    record->magic = 0x12340010;
    EXPECT_EQ(store.storeRecord(*record), MacroResult::NotAMacro);
    record->magic = kMacroMagic;
    record->size = 4100;
    EXPECT_EQ(store.storeRecord(*record), MacroResult::NotAMacro);
    EXPECT_TRUE(isFree(library->slots[0]));
}

TEST_F(MacroStoreTest, NothingIsStoredWithoutRowsOrWithoutACurrentMacro) {
    std::vector<MacroRow> rows;
    EXPECT_EQ(store.buildAndStore(rows, u"1", &kId, u"M"), MacroResult::NoRows);
    rows = {pause(1), pause(2), keyDown(0x41)};
    EXPECT_EQ(store.buildAndStore(rows, u"1", nullptr, u"M"), MacroResult::NoCurrentMacro);
    EXPECT_EQ(rows.size(), 2u);  // the editor's rows are merged all the same
    EXPECT_TRUE(isFree(library->slots[0]));
    EXPECT_TRUE(clock.sleeps().empty());
}

TEST_F(MacroStoreTest, StoreTellsHowManyRowsDidNotFit) {
    std::vector<MacroRow> rows(1010, keyDown(0x41));
    int dropped = -1;
    EXPECT_EQ(store.buildAndStore(rows, u"1", &kId, u"M", &dropped), MacroResult::Done);
    EXPECT_EQ(dropped, 10);
    EXPECT_EQ(library->slots[0].eventCount, 1000u);
}

TEST_F(MacroStoreTest, DeleteIsRefusedWhileAnyProfileUsesTheMacro) {
    putMacro(4, kId, u"Used");
    for (int entry = 0; entry < kProfileCount; ++entry) {
        *state = {};
        fillProfileDefaults(state->current, 0);
        state->index.entries[entry].macroRefs[6] = static_cast<int32_t>(kId);
        EXPECT_EQ(store.deleteMacro(kId, *state), MacroResult::InUse) << entry;
    }
    *state = {};
    fillProfileDefaults(state->current, 0);
    state->current.buttons[2].functionType = 6;
    state->current.buttons[2].macroId = static_cast<int32_t>(kId);
    EXPECT_EQ(store.deleteMacro(kId, *state), MacroResult::InUse);
    language.chineseUi = 1;
    EXPECT_EQ(store.deleteMacro(kId, *state), MacroResult::InUse);
    ASSERT_EQ(messages.shown.size(), 7u);
    EXPECT_EQ(messages.shown[0].text, "The macro is being applied and cannot be deleted!");
    EXPECT_TRUE(messages.shown[0].skinned);
    EXPECT_EQ(messages.shown[6].text, "当前宏正在被使用，不能删除！");
    EXPECT_EQ(library->slots[4].id, kId);

    state->current.buttons[2].functionType = 5;  // a macro id left in a non-macro slot does not count
    EXPECT_EQ(store.deleteMacro(kId, *state), MacroResult::Done);
    EXPECT_EQ(test::bytesOf(library->slots[4]), std::vector<uint8_t>(kSlotSize, 0));
    EXPECT_EQ(file(), std::vector<uint8_t>(sizeof(MacroLibrary), 0));
    EXPECT_EQ(store.deleteMacro(kId, *state), MacroResult::NotFound);
}

TEST_F(MacroStoreTest, RenameChangesOnlyTheNameAndSurvivesARestart) {
    MacroRecord& record = putMacro(1, kId, u"Old");
    record.loopCount = 77;
    const auto before = test::bytesOf(record);
    EXPECT_EQ(store.rename(kId, u"Old"), MacroResult::Unchanged);
    EXPECT_TRUE(clock.sleeps().empty());
    ASSERT_EQ(store.rename(kId, u"Sprint"), MacroResult::Done);
    EXPECT_EQ(store.rename(0x15000000, u"x"), MacroResult::NotFound);

    auto reloaded = std::make_unique<MacroLibrary>();
    MacroStore restarted(*reloaded, {folders, messages, strings, language}, clock);
    ASSERT_TRUE(restarted.loadFile());
    std::vector<uint8_t> after = test::bytesOf(reloaded->slots[1]);
    EXPECT_EQ(test::textAt(after, 4024), u"Sprint");
    std::fill(after.begin() + 4024, after.end(), 0);
    std::vector<uint8_t> expected = before;
    std::fill(expected.begin() + 4024, expected.end(), 0);
    EXPECT_EQ(after, expected);

    ASSERT_EQ(store.rename(kId, std::u16string(60, u'n')), MacroResult::Done);
    EXPECT_EQ(fixedText(library->slots[1].name).size(), 39u);
    EXPECT_EQ(store.rename(kId, std::u16string(50, u'n')), MacroResult::Unchanged);
}

TEST_F(MacroStoreTest, ListByGroupAndFindById) {
    putMacro(0, 0x15000001, u"first");
    putMacro(1, 0x03000001, u"other group");
    putMacro(3, 0x15000002, u"second");
    putMacro(4, 0x00000009, u"no group");
    library->slots[5].id = 0x15000003;  // not listed: neither size nor magic
    library->slots[5].magic = 0x00000010;
    library->slots[6].id = 0x15000004;  // listed by its magic alone
    library->slots[6].magic = 0xE8E80000;
    auto entries = listByGroup(*library, kCustomGamePreset);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].id, 0x15000001u);
    EXPECT_EQ(entries[0].name, u"first");
    EXPECT_EQ(entries[1].id, 0x15000002u);
    EXPECT_EQ(entries[2].id, 0x15000004u);
    for (int group : {0, 22, 255, -1}) EXPECT_TRUE(listByGroup(*library, group).empty()) << group;
    ASSERT_NE(findById(*library, 9), nullptr);
    EXPECT_EQ(fixedText(findById(*library, 9)->name), u"no group");
    EXPECT_EQ(findById(*library, 0x15000003), &library->slots[5]);
    EXPECT_EQ(findById(*library, 0x15FFFFFF), nullptr);
    EXPECT_EQ(findById(*library, 0), nullptr);  // free slots hold no macro
    EXPECT_EQ(gamePresetCaption(21, 0), u"Customisze");
    EXPECT_EQ(gamePresetCaption(21, 1), u"玩家自定义");
    EXPECT_EQ(gamePresetCaption(5, 1), u"军团要塞 2");
    EXPECT_EQ(gamePresetCaption(22, 0), u"");
}

TEST_F(MacroStoreTest, NewIdsTakeTheTickUnderTheGroupAndNeverAStoredId) {
    EXPECT_EQ(newMacroId(*library, 3, 0x12345678), 0x03345678u);
    putMacro(0, 0x15FFFFFE, u"came round");
    putMacro(1, 0x15FFFFFF, u"came round too");
    putMacro(2, 0x15000000, u"and past the wrap");
    EXPECT_EQ(newMacroId(*library, kCustomGamePreset, 0xABFFFFFE), 0x15000001u);
    EXPECT_EQ(newMacroId(*library, 3, 0xABFFFFFE), 0x03FFFFFEu) << "another group's ids do not count";
}

TEST(MacroRows, DelayFieldText) {
    const std::pair<std::u16string_view, std::optional<uint32_t>> cases[] = {
        {u"", 0u},           {u"0", 0u},           {u"1260", 1260u},           {u"16777215", 16777215u},
        {u"16777216", 16777216u}, {u"99999999999999", 16777216u}, {u"12a", std::nullopt}, {u"-5", std::nullopt},
        {u" 5", std::nullopt},
    };
    for (const auto& [text, ms] : cases) EXPECT_EQ(delayFromText(text), ms) << toUtf8(text);
    EXPECT_EQ(mergedDelay(200000, 200000), kMaxMergedDelay);
    EXPECT_EQ(mergedDelay(300, 200), 500u);
}

TEST_F(MacroStoreTest, LoadReadsTheImageAndReportsAMissingFile) {
    std::vector<uint8_t> image(sizeof(MacroLibrary) + 100, 0);
    test::putU32(image, kSlotSize * 499 + 8, 0x15000042);
    test::putU32(image, kSlotSize * 499 + 4, kMacroMagic);
    test::writeAll(path(), image);
    putMacro(0, kId, u"stale");
    ASSERT_TRUE(store.loadFile());
    EXPECT_TRUE(isFree(library->slots[0]));
    EXPECT_EQ(library->slots[499].id, 0x15000042u);

    test::writeAll(path(), {0x10, 0x00, 0x00});
    ASSERT_TRUE(store.loadFile());
    EXPECT_EQ(library->slots[0].size, 0x10u);
    EXPECT_EQ(library->slots[499].id, 0u);
    EXPECT_TRUE(messages.shown.empty());

    std::filesystem::remove(path());
    EXPECT_FALSE(store.loadFile());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Missing file " + path() + "!");
    EXPECT_TRUE(messages.shown[0].skinned);
}

TEST_F(MacroStoreTest, SaveRecreatesAMissingFileAndReportsRefusedWrites) {
    std::filesystem::remove(path());
    putMacro(0, kId, u"kept");
    EXPECT_TRUE(store.saveFile());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Missing file " + path() + "!");
    EXPECT_EQ(messages.shown[0].caption, "Info");
    EXPECT_FALSE(messages.shown[0].skinned);
    EXPECT_EQ(file(), test::bytesOf(*library));

    std::filesystem::remove(path());
    std::filesystem::create_directory(path());  // no file there, and it cannot be made: access denied
    EXPECT_FALSE(store.saveFile());
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[1].text, "Missing file " + path() + "!");
    EXPECT_EQ(messages.shown[2].text, "Access denied.");
    EXPECT_EQ(messages.shown[2].caption, "Info");
    EXPECT_FALSE(messages.shown[2].skinned);
}

TEST_F(MacroStoreTest, SaveWithoutTheWorkingFolderWritesNothing) {
    std::filesystem::remove(path());
    folders.working = temp.file("gone");
    EXPECT_FALSE(store.saveFile());
    ASSERT_EQ(messages.shown.size(), 1u);  // only the missing file is told
    EXPECT_FALSE(std::filesystem::exists(temp.file("gone")));
}

}  // namespace
}  // namespace q30x
