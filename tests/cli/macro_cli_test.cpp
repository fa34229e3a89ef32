// q30xctl macro new, set, rename and delete against the editor's own store.
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <regex>

#include "macros/macro_store.h"
#include "platform/utf16.h"
#include "settings/profile_index.h"
#include "tests/cli/cli_fixture.h"
#include "tests/support/bytes.h"

namespace q30x {
namespace {

using test::CliResult;
using test::readAll;
using test::writeAll;

constexpr uint32_t kStored = 0x15012345;  // "Jump", loop count 5
constexpr uint32_t kOther = 0x03000001;   // "Spray"

MacroRow row(uint32_t kind, uint32_t value) { return {u"", kind << 24 | value}; }
MacroRow down(uint32_t key) { return row(kRowKeyDown, key); }
MacroRow up(uint32_t key) { return row(kRowKeyUp, key); }
MacroRow pause(uint32_t ms) { return row(kRowDelay, ms); }

// What the macro editor's store writes for `rows` of macro `id`, starting
// from the library image `before`: the file it leaves.
std::vector<uint8_t> editorStores(const std::vector<uint8_t>& before, std::vector<MacroRow> rows, uint32_t id,
                                  std::u16string_view name, std::u16string_view loopText) {
    test::TempFolder folder;
    const Folders folders{folder.path(), folder.path()};
    writeAll(folder.file("Macro.cfg"), before);
    auto library = std::make_unique<MacroLibrary>();
    std::memcpy(static_cast<void*>(library.get()), before.data(), sizeof *library);
    test::RecordedMessages messages;
    StringCatalogue strings;
    LanguageState language{0, 0, 2};
    FakeClock clock;
    MacroStore store(*library, {folders, messages, strings, language}, clock);
    EXPECT_EQ(store.buildAndStore(rows, loopText, &id, name), MacroResult::Done);
    return readAll(folder.file("Macro.cfg"));
}

class MacroEditCommand : public test::CliTest {
protected:
    MacroEditCommand() {
        runIn({"init"});
        test::MacroFileImage()
            .put(0, kStored, u"Jump", {0xC0000041, 0xA0000032, 0xE0000041}, 5)
            .put(3, kOther, u"Spray", {0xC0000001, 0xE0000001}, 1)
            .write(macroFile());
    }
    std::string macroFile() const { return work() + "/Macro.cfg"; }
    const MacroRecord& slot(const std::vector<uint8_t>& file, int index) const {
        return reinterpret_cast<const MacroRecord*>(file.data())[index];
    }
};

struct RowsCase {
    std::vector<std::string> words;
    std::vector<MacroRow> rows;
    std::string loops;  // --loops, or empty for none
};

const RowsCase kRowsCases[] = {
    {{"a+", "50ms", "a-"}, {down(0x41), pause(50), up(0x41)}, ""},
    {{"100ms", "ctrl+", "20ms", "30ms", "c+", "c-", "ctrl-"},
     {pause(100), down(0x11), pause(20), pause(30), down(0x43), up(0x43), up(0x11)},
     "7"},
    {{"a+"}, {down(0x41)}, "12"},
    {{"num ++", "left button+", "LEFT BUTTON-", "Num +-", "f12+", "F12-"},
     {down(0x6B), down(0x01), up(0x01), up(0x6B), down(0x7B), up(0x7B)},
     ""},
    {{"200000ms", "space+", "200000ms", "200000ms", "space-", "0ms"},
     {pause(200000), down(0x20), pause(200000), pause(200000), up(0x20), pause(0)},
     "65533"},
};

TEST_F(MacroEditCommand, SetStoresWhatTheEditorStoresForTheSameRows) {
    for (const RowsCase& c : kRowsCases) {
        const std::vector<uint8_t> before = readAll(macroFile());
        std::vector<std::string> words{"macro", "set", "15012345"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        if (!c.loops.empty()) words.insert(words.end(), {"--loops", c.loops});
        CliResult r = runIn(words);
        ASSERT_EQ(r.status, 0) << c.words[0] << r.err;
        // Without --loops the editor's loop field holds the stored count, and
        // 1 after a macro of one key press (the third case).
        const uint32_t storedLoops = slot(before, 0).loopCount;
        const std::string field = storedLoops == kSingleKeyDownLoops ? "1" : std::to_string(storedLoops);
        const std::vector<uint8_t> expected =
            editorStores(before, c.rows, kStored, u"Jump", fromUtf8(c.loops.empty() ? field : c.loops));
        EXPECT_TRUE(readAll(macroFile()) == expected) << c.words[0];
        EXPECT_NE(r.out.find("macro 0x15012345 \"Jump\" stored in group 21 Customisze: "), std::string::npos) << r.out;
    }
}

TEST_F(MacroEditCommand, NewStoresAFreshMacroAsTheEditorStoresItsFirstRows) {
    for (const RowsCase& c : kRowsCases) {
        const std::vector<uint8_t> before = readAll(macroFile());
        std::vector<std::string> words{"macro", "new", "Counter-Strike: Global Offensive", "Burst"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        if (!c.loops.empty()) words.insert(words.end(), {"--loops", c.loops});
        CliResult r = runIn(words);
        ASSERT_EQ(r.status, 0) << r.err;
        std::smatch id;
        ASSERT_TRUE(std::regex_search(r.out, id, std::regex("^macro 0x(03[0-9A-F]{6}) \"Burst\" stored in group 3 ")))
            << r.out;
        const uint32_t newId = static_cast<uint32_t>(std::stoul(id[1], nullptr, 16));
        EXPECT_NE(newId, kOther) << "a new macro never takes over a stored one";
        const std::vector<uint8_t> expected =
            editorStores(before, c.rows, newId, u"Burst", fromUtf8(c.loops.empty() ? "1" : c.loops));
        EXPECT_TRUE(readAll(macroFile()) == expected) << c.words[0];
    }
    EXPECT_NE(runIn({"macro", "list", "3"}).out.find("\"Burst\""), std::string::npos);
}

TEST_F(MacroEditCommand, BadWordsAreRefusedAndNothingChanges) {
    struct Case {
        std::vector<std::string> words;
        int status;
        const char* err;
    };
    std::vector<std::string> tooMany{"macro", "set", "15012345"};
    for (int i = 0; i < 1001; ++i) tooMany.push_back(i % 2 ? "a-" : "a+");
    const std::string control = std::string("Ju") + '\x1b' + "mp";
    const Case cases[] = {
        {{"macro", "set", "15012345", "a"}, 2, "'a' is not a row: write KEY+ for a press"},
        {{"macro", "set", "15012345", "nokey+"}, 2, "no key is called 'nokey'"},
        {{"macro", "set", "15012345", "a+", "5s"}, 2, "'5s' is not a row"},
        {{"macro", "set", "15012345", "a+", "x5ms"}, 2, "a pause is a number of milliseconds"},
        {{"macro", "set", "15012345", "a+", "16777216ms"}, 2, "a pause lasts at most 16777215 ms"},
        {{"macro", "set", "15012345", "50ms", "60ms"}, 2, "at least one key row"},
        {{"macro", "set", "15012345", "a+", "--loops", "0"}, 2, "--loops needs a loop count 1..65533, not '0'"},
        {{"macro", "set", "15012345", "a+", "--loops", "65534"}, 2, "not '65534'"},
        {{"macro", "set", "15012345", "a+", "--loops", "3x"}, 2, "not '3x'"},
        {tooMany, 2, "a macro holds at most 1000 events; these rows make 1001"},
        {{"macro", "set", "zz", "a+"}, 2, "'zz' is not a macro id"},
        {{"macro", "set", "0x1234567890", "a+"}, 2, "is not a macro id"},
        {{"macro", "set", "15000000", "a+"}, 2, "no macro with id 0x15000000"},
        {{"macro", "new", "22", "X", "a+"}, 2, "'22' is not a game group"},
        {{"macro", "new", "21", "123456789012345678901", "a+"}, 2, "give 1 to 20 characters"},
        {{"macro", "new", "21", "", "a+"}, 2, "give 1 to 20 characters"},
        {{"macro", "new", "21", control, "a+"}, 2, "cannot hold control characters"},
        {{"macro", "new", "21", "\xff\xfe", "a+"}, 2, "not valid UTF-8"},
        {{"macro", "new", "21", "Jump"}, 64, "a macro is stored with its first rows"},
        {{"macro", "rename", "0x03000001", std::string(21, 'x')}, 2, "give 1 to 20 characters"},
        {{"macro", "rename", "0x03000002", "Spray2"}, 2, "no macro with id 0x03000002"},
        {{"macro", "delete", "0x03000002"}, 2, "no macro with id 0x03000002"},
        {{"macro", "delete"}, 64, "usage: q30xctl macro delete ID"},
        {{"macro", "show", "15012345", "--json"}, 64, "macro show takes no --json"},
        {{"macro", "delete", "15012345", "--loops", "2"}, 64, "macro delete takes no --loops"},
        {{"macro", "frobnicate"}, 64, "usage: q30xctl macro list [GROUP] [--json] | show ID"},
    };
    const std::vector<uint8_t> before = readAll(macroFile());
    for (const Case& c : cases) {
        CliResult r = runIn(c.words);
        EXPECT_EQ(r.status, c.status) << c.words[1] << " " << c.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << c.err;
        EXPECT_TRUE(readAll(macroFile()) == before) << c.err;
    }
}

TEST_F(MacroEditCommand, RenameChangesOnlyTheName) {
    const std::vector<uint8_t> before = readAll(macroFile());
    const std::string twenty = "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"
                               "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9";  // 40 bytes, 20 characters
    CliResult r = runIn({"macro", "rename", "0x03000001", twenty});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "macro 0x03000001 renamed to \"" + twenty + "\"\n");
    const std::vector<uint8_t> after = readAll(macroFile());
    EXPECT_EQ(fixedText(slot(after, 3).name), fromUtf8(twenty));
    std::vector<uint8_t> renamedBack = after;
    std::memcpy(renamedBack.data() + 3 * sizeof(MacroRecord) + offsetof(MacroRecord, name),
                before.data() + 3 * sizeof(MacroRecord) + offsetof(MacroRecord, name), 2 * kMacroNameUnits);
    EXPECT_TRUE(renamedBack == before) << "only the name changed";
    r = runIn({"macro", "rename", "0x03000001", twenty});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "macro 0x03000001 is already called \"" + twenty + "\"\n");
}

TEST_F(MacroEditCommand, DeleteIsRefusedWhileAnyProfileUsesTheMacro) {
    // Profile 4's references, which are not the current profile's.
    std::vector<uint8_t> index = readAll(work() + "/Profile/ConfigInfo.cfg");
    const std::vector<uint8_t> cleanIndex = index;
    test::putU32(index, 3 * sizeof(ProfileIndexEntry) + offsetof(ProfileIndexEntry, macroRefs) + 4 * 2, kOther);
    writeAll(work() + "/Profile/ConfigInfo.cfg", index);
    // The current profile's forward button.
    std::vector<uint8_t> profile = readAll(work() + "/Profile/Profile1.cfg");
    const std::vector<uint8_t> cleanProfile = profile;
    const std::size_t forward = offsetof(ProfileRecord, buttons) + 3 * sizeof(ButtonAssignment);
    test::putU32(profile, forward + offsetof(ButtonAssignment, functionType), 6);
    test::putU32(profile, forward + offsetof(ButtonAssignment, macroId), kStored);
    writeAll(work() + "/Profile/Profile1.cfg", profile);

    const std::vector<uint8_t> before = readAll(macroFile());
    for (const char* id : {"0x03000001", "0x15012345"}) {
        CliResult r = runIn({"macro", "delete", id});
        EXPECT_EQ(r.status, 2) << id;
        EXPECT_EQ(r.err, "The macro is being applied and cannot be deleted!\n") << id;
        EXPECT_TRUE(readAll(macroFile()) == before) << id;
    }

    writeAll(work() + "/Profile/ConfigInfo.cfg", cleanIndex);
    writeAll(work() + "/Profile/Profile1.cfg", cleanProfile);
    CliResult r = runIn({"macro", "delete", "0x03000001"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "macro 0x03000001 deleted\n");
    const std::vector<uint8_t> after = readAll(macroFile());
    const std::vector<uint8_t> zeros(sizeof(MacroRecord), 0);
    EXPECT_TRUE(std::equal(zeros.begin(), zeros.end(), after.begin() + 3 * sizeof(MacroRecord))) << "the slot is free";
    EXPECT_EQ(runIn({"macro", "list"}).out.find("Spray"), std::string::npos);
}

}  // namespace
}  // namespace q30x
