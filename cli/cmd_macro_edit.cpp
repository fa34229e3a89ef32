// The changes of `q30xctl macro`: new, rename, delete and set, through the
// library's store as the macro editor makes them.
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "buttons/key_names.h"
#include "cli/cmd_macro.h"
#include "cli/session.h"
#include "cli/setting_words.h"
#include "macros/game_presets.h"
#include "macros/macro_rows.h"
#include "macros/macro_store.h"
#include "platform/utf16.h"

namespace q30x::cli {
namespace {

bool refuse(Invocation& call, const std::string& why) {
    call.err << "q30xctl: " << why << "\n";
    return false;
}

int usage(Invocation& call, const char* words) {
    call.err << "usage: q30xctl macro " << words << "\n";
    return kExitUsage;
}

bool readId(Invocation& call, const std::string& word, uint32_t& id) {
    const std::optional<uint32_t> parsed = parseMacroId(word);
    if (!parsed) return refuse(call, "'" + word + "' is not a macro id: give it in hex, as macro list prints it");
    id = *parsed;
    return true;
}

// 1 to 20 characters, as the rename box takes them, and none that would
// drive a terminal when the list is printed.
bool readName(Invocation& call, const std::string& word, std::u16string& name) {
    name = fromUtf8(word);
    if (toUtf8(name) != word) return refuse(call, "the name is not valid UTF-8");
    if (name.empty() || name.size() > kMacroNameLimit)
        return refuse(call, "'" + word + "' cannot be a macro name: give 1 to " + std::to_string(kMacroNameLimit) +
                                " characters");
    for (char16_t c : name)
        if (c < 0x20 || c == 0x7F) return refuse(call, "a macro name cannot hold control characters");
    return true;
}

// --loops N as the loop field's text; without it, `fallback`.
bool readLoops(Invocation& call, const std::u16string& fallback, std::u16string& loopText) {
    if (!call.has("loops")) {
        loopText = fallback;
        return true;
    }
    const std::string& word = call.options["loops"];
    int32_t loops = 0;
    if (!readDecimal(word, loops) || loops < 1 || static_cast<uint32_t>(loops) > kMaxLoopCount)
        return refuse(call, "--loops needs a loop count 1.." + std::to_string(kMaxLoopCount) + ", not '" + word + "'");
    loopText = fromUtf8(std::to_string(loops));
    return true;
}

// One ROW word: KEY+ presses the key, KEY- releases it, 50ms pauses.
bool readRow(Invocation& call, const std::string& word, const LanguageState& language, const KeyboardLayout& layout,
             std::vector<MacroRow>& rows) {
    const std::string why = "'" + word + "' is not a row: ";
    if (word.size() > 2 && word.ends_with("ms")) {
        const std::optional<uint32_t> ms = delayFromText(fromUtf8(word.substr(0, word.size() - 2)));
        if (!ms) return refuse(call, why + "a pause is a number of milliseconds and ms, e.g. 50ms");
        if (*ms > kMaxDelayValue) return refuse(call, why + "a pause lasts at most " + std::to_string(kMaxDelayValue) + " ms");
        rows.push_back(delayRow(*ms));
        return true;
    }
    if (word.size() < 2 || (word.back() != '+' && word.back() != '-'))
        return refuse(call, why + "write KEY+ for a press, KEY- for a release or 50ms for a pause");
    const std::string name = word.substr(0, word.size() - 1);
    const uint32_t key = virtualKeyOfName(fromUtf8(name), KeyNameStyle::Macro, language.languageNumber, layout);
    if (!key) return refuse(call, why + "no key is called '" + name + "' (names as macro show prints them)");
    rows.push_back(keyRow(word.back() == '+' ? kRowKeyDown : kRowKeyUp, key, language.languageNumber, layout));
    return true;
}

bool readRows(Invocation& call, std::size_t first, const LanguageState& language, std::vector<MacroRow>& rows) {
    auto layout = currentKeyboardLayout();
    for (std::size_t i = first; i < call.args.size(); ++i)
        if (!readRow(call, call.args[i], language, *layout, rows)) return false;
    for (const MacroRow& row : rows)
        if (rowKind(row) != kRowDelay) return true;
    return refuse(call, "a macro needs at least one key row (KEY+ or KEY-)");
}

// The record of the rows as the editor builds it, refused when rows would
// not fit: the editor would store the first 1000 events and drop the rest.
bool buildRecord(Invocation& call, std::vector<MacroRow> rows, std::u16string_view loopText, uint32_t id,
                 std::u16string_view name, MacroRecord& record) {
    const BuiltMacro built = buildMacroRecord(rows, loopText, id, name, record);
    if (built.droppedRows > 0)
        return refuse(call, "a macro holds at most " + std::to_string(kMacroEventCapacity) + " events; these rows make " +
                                std::to_string(kMacroEventCapacity + built.droppedRows));
    return true;
}

int storedOutcome(Invocation& call, Session& session, MacroResult result, const std::string& done) {
    switch (result) {
    case MacroResult::Done: call.out << done << "\n"; return kExitOk;
    case MacroResult::LibraryFull:
        call.err << toUtf8(macroLibraryFullText(session.language.chineseUi)) << "\n";
        return kExitFailure;
    default: return kExitFailure;  // the store has told why the file was not written
    }
}

std::string storedText(const MacroRecord& record, int chineseUi) {
    return "macro " + macroIdText(record.id) + " " + quotedName(record) + " stored in group " +
           groupText(gameGroupOf(record.id), chineseUi) + ": " + std::to_string(record.eventCount) + " events, loop count " +
           std::to_string(record.loopCount);
}

// A stored macro the command names, told when there is none.
const MacroRecord* storedMacro(Invocation& call, Session& session, uint32_t id) {
    const MacroRecord* record = findById(*session.macros, id);
    if (!record || !isListed(*record))
        refuse(call, "no macro with id " + macroIdText(id) + " in " + session.macroStore->filePath());
    return record && isListed(*record) ? record : nullptr;
}

}  // namespace

int newMacro(Invocation& call) {
    if (call.args.size() < 4) {
        if (call.args.size() == 3)
            call.err << "q30xctl: a macro is stored with its first rows, e.g. q30xctl macro new 21 Jump space+ 50ms "
                        "space-\n";
        return usage(call, "new GROUP NAME ROW... [--loops N]");
    }
    const int group = parseGroup(call.args[1]);
    if (!group) {
        refuse(call, "'" + call.args[1] + "' is not a game group: give 1..21 or a group name, e.g. 21 or Customize");
        return kExitBadInput;
    }
    std::u16string name, loopText;
    if (!readName(call, call.args[2], name) || !readLoops(call, u"1", loopText)) return kExitBadInput;
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    std::vector<MacroRow> rows;
    if (!readRows(call, 3, session.language, rows)) return kExitBadInput;
    session.loadMacroLibrary();
    const uint32_t id = newMacroId(*session.macros, group, session.clock.tickMs());
    auto record = std::make_unique<MacroRecord>();
    if (!buildRecord(call, rows, loopText, id, name, *record)) return kExitBadInput;
    return storedOutcome(call, session, session.macroStore->storeRecord(*record),
                         storedText(*record, session.language.chineseUi));
}

int setMacro(Invocation& call) {
    uint32_t id = 0;
    if (call.args.size() < 3) return usage(call, "set ID ROW... [--loops N]");
    if (!readId(call, call.args[1], id)) return kExitBadInput;
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    std::vector<MacroRow> rows;
    if (!readRows(call, 2, session.language, rows)) return kExitBadInput;
    session.loadMacroLibrary();
    const MacroRecord* stored = storedMacro(call, session, id);
    if (!stored) return kExitBadInput;
    // The loop field shows the stored count, and 1 for a single held key.
    const uint32_t loops = stored->loopCount == kSingleKeyDownLoops ? 1 : stored->loopCount;
    std::u16string loopText;
    if (!readLoops(call, fromUtf8(std::to_string(loops)), loopText)) return kExitBadInput;
    auto record = std::make_unique<MacroRecord>();
    if (!buildRecord(call, rows, loopText, id, fixedText(stored->name), *record)) return kExitBadInput;
    return storedOutcome(call, session, session.macroStore->storeRecord(*record),
                         storedText(*record, session.language.chineseUi));
}

int renameMacro(Invocation& call) {
    uint32_t id = 0;
    std::u16string name;
    if (call.args.size() != 3) return usage(call, "rename ID NAME");
    if (!readId(call, call.args[1], id) || !readName(call, call.args[2], name)) return kExitBadInput;
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    session.loadMacroLibrary();
    if (!storedMacro(call, session, id)) return kExitBadInput;
    const MacroResult result = session.macroStore->rename(id, name);
    if (result == MacroResult::Unchanged) {
        call.out << "macro " << macroIdText(id) << " is already called \"" << call.args[2] << "\"\n";
        return kExitOk;
    }
    return storedOutcome(call, session, result, "macro " + macroIdText(id) + " renamed to \"" + call.args[2] + "\"");
}

int deleteMacro(Invocation& call) {
    uint32_t id = 0;
    if (call.args.size() != 2) return usage(call, "delete ID");
    if (!readId(call, call.args[1], id)) return kExitBadInput;
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    session.loadMacroLibrary();
    if (!storedMacro(call, session, id)) return kExitBadInput;
    // The store tells the refusal in the program's words.
    const MacroResult result = session.macroStore->deleteMacro(id, *session.state);
    if (result == MacroResult::InUse) return kExitBadInput;
    return storedOutcome(call, session, result, "macro " + macroIdText(id) + " deleted");
}

}  // namespace q30x::cli
