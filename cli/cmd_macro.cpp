#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>

#include "buttons/key_tables.h"
#include "cli/cmd_macro.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/session.h"
#include "i18n/languages.h"
#include "macros/game_presets.h"
#include "macros/macro_store.h"
#include "macros/payload_encoder.h"
#include "platform/files.h"
#include "platform/utf16.h"

namespace q30x::cli {

std::string macroIdText(uint32_t id) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", id);
    return buffer;
}

std::optional<uint32_t> parseMacroId(const std::string& word) {
    const std::string digits = word.rfind("0x", 0) == 0 || word.rfind("0X", 0) == 0 ? word.substr(2) : word;
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    for (char c : digits)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    return static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
}

std::string macroName(const MacroRecord& record) { return toUtf8(fixedText(record.name)); }

std::string quotedName(const MacroRecord& record) {
    std::string text = "\"";
    for (char c : macroName(record)) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            text += escaped;
        } else {
            text += c;
        }
    }
    return text + "\"";
}

std::string groupText(int group, int chineseUi) {
    std::u16string_view caption = gamePresetCaption(group, chineseUi);
    return std::to_string(group) + (caption.empty() ? " (no group)" : " " + toUtf8(caption));
}

int parseGroup(const std::string& word) {
    char* end = nullptr;
    long number = std::strtol(word.c_str(), &end, 10);
    if (!word.empty() && !*end) return number >= 1 && number <= kGamePresetCount ? static_cast<int>(number) : 0;
    auto same = [&](std::u16string_view text) {
        std::string a = toUtf8(text), b = word;
        while (!a.empty() && a.back() == ' ') a.pop_back();
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
        return true;
    };
    for (const GamePreset& preset : kGamePresets)
        if (same(preset.englishCaption) || same(preset.englishMenu) || same(preset.chineseCaption) ||
            same(preset.chineseMenu))
            return preset.number;
    return 0;
}

namespace {

// Columns a text takes on a terminal: East Asian wide characters take two.
std::size_t displayWidth(const std::string& text) {
    std::size_t columns = 0;
    for (char32_t c : fromUtf8(text)) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                          (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6);
        if (c < 0xDC00 || c > 0xDFFF) columns += wide ? 2 : 1;  // a surrogate pair counts once
    }
    return columns;
}

std::string padded(std::string text, std::size_t width, bool right = false) {
    const std::size_t columns = displayWidth(text);
    if (columns >= width) return text + " ";
    std::string pad(width - columns, ' ');
    return right ? pad + text : text + pad;
}

void printMacroTable(std::ostream& out, const MacroLibrary& library, int group, int chineseUi) {
    int shown = 0;
    out << padded("ID", 12) << padded("GROUP", 36) << padded("EVENTS", 6, true) << padded("LOOPS", 7, true)
        << "  NAME\n";
    for (const MacroRecord& record : library.slots) {
        if (!isListed(record) || (group && gameGroupOf(record.id) != group)) continue;
        out << padded(macroIdText(record.id), 12) << padded(groupText(gameGroupOf(record.id), chineseUi), 36)
            << padded(std::to_string(record.eventCount), 6, true) << padded(std::to_string(record.loopCount), 7, true)
            << "  " << quotedName(record) << "\n";
        ++shown;
    }
    if (!shown) out << (group ? "no macros in group " + groupText(group, chineseUi) : std::string("no macros")) << "\n";
}

void printMacroJson(std::ostream& out, const MacroLibrary& library, int group, int chineseUi) {
    JsonWriter json(out);
    json.beginObject().key("macros").beginArray();
    for (const MacroRecord& record : library.slots) {
        if (!isListed(record) || (group && gameGroupOf(record.id) != group)) continue;
        json.beginObject();
        json.key("id").value(macroIdText(record.id));
        json.key("group").value(gameGroupOf(record.id));
        json.key("groupName").value(toUtf8(gamePresetCaption(gameGroupOf(record.id), chineseUi)));
        json.key("name").value(macroName(record));
        json.key("events").value(record.eventCount);
        json.key("loops").value(record.loopCount);
        json.endObject();
    }
    json.endArray().endObject();
}

int listMacros(Invocation& call) {
    if (call.args.size() > 2) {
        call.err << "usage: q30xctl macro list [GROUP] [--json]\n";
        return kExitUsage;
    }
    int group = 0;
    if (call.args.size() == 2 && !(group = parseGroup(call.args[1]))) {
        call.err << "q30xctl: '" << call.args[1] << "' is not a game group: give 1..21 or a group name, e.g. 21 or "
                 << "Customize\n";
        return kExitBadInput;
    }
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    session.loadMacroLibrary();
    if (call.has("json")) printMacroJson(call.out, *session.macros, group, session.language.chineseUi);
    else printMacroTable(call.out, *session.macros, group, session.language.chineseUi);
    return kExitOk;
}

const char* rowKindText(uint32_t kind) {
    switch (kind) {
    case kRowKeyDown: return "key down";
    case kRowKeyUp: return "key up";
    default: return "delay";
    }
}

void printPayload(std::ostream& out, const EncodedMacro& encoded, int languageNumber) {
    out << "payload (" << keyLayoutName(languageNumber) << " key table): " << encoded.wordCount << " words\n";
    const int bytes = 2 * encoded.wordCount;
    for (int offset = 0; offset < bytes; offset += 16) {
        char line[16];
        std::snprintf(line, sizeof line, "  %03X:", offset);
        out << line;
        for (int i = offset; i < bytes && i < offset + 16; ++i) {
            char byte[8];
            std::snprintf(byte, sizeof byte, " %02x", encoded.payload[static_cast<std::size_t>(i)]);
            out << byte;
        }
        out << "\n";
    }
    char code[40];
    std::snprintf(code, sizeof code, "button code: 09 00 m %02x", encoded.wordCount & 0xFF);
    out << code << " (m = the macro number of the apply)\n";
}

int showMacro(Invocation& call) {
    if (call.args.size() != 2) {
        call.err << "usage: q30xctl macro show ID\n";
        return kExitUsage;
    }
    const std::optional<uint32_t> id = parseMacroId(call.args[1]);
    if (!id) {
        call.err << "q30xctl: '" << call.args[1] << "' is not a macro id: give it in hex, as macro list prints it\n";
        return kExitBadInput;
    }
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    session.loadMacroLibrary();
    const MacroRecord* record = findById(*session.macros, *id);
    if (!record) {
        call.err << "q30xctl: no macro with id " << macroIdText(*id) << " in " << session.macroStore->filePath() << "\n";
        return kExitBadInput;
    }
    const LanguageState& language = session.language;
    call.out << "macro " << macroIdText(record->id) << " " << quotedName(*record) << "\n"
             << "group: " << groupText(gameGroupOf(record->id), language.chineseUi) << "\n"
             << "slot: " << (record - session.macros->slots) << "  size: " << record->size
             << "  magic: " << macroIdText(record->magic) << "\n"
             << "loop count: " << record->loopCount
             << (record->loopCount == kSingleKeyDownLoops ? " (one key held; the editor shows 1)" : "") << "\n"
             << "events: " << record->eventCount << "\n";
    auto layout = currentKeyboardLayout();
    bool complete = true;
    std::vector<MacroRow> rows = rowsOfRecord(*record, language.languageNumber, *layout, &complete);
    for (std::size_t i = 0; i < rows.size(); ++i)
        call.out << padded(std::to_string(i + 1), 6, true) << "  " << padded(rowKindText(rowKind(rows[i])), 10)
                 << toUtf8(rows[i].text) << "\n";
    if (!complete) {
        if (rows.size() < storedEventCount(*record))
            call.out << "  (the editor stops here: event " << rows.size() + 1 << " is "
                     << macroIdText(record->events[rows.size()]) << ", not a valid item)\n";
        else
            call.out << "  (the event count is more than the record's 1000 events)\n";
    }
    printPayload(call.out, encodeMacroPayload(*record, language.languageNumber), language.languageNumber);
    return kExitOk;
}

struct Subcommand {
    const char* word;
    int (*run)(Invocation&);
};

constexpr Subcommand kSubcommands[] = {
    {"list", listMacros},     {"show", showMacro},     {"new", newMacro},
    {"rename", renameMacro}, {"delete", deleteMacro}, {"set", setMacro},
};

int runMacro(Invocation& call) {
    for (const Subcommand& sub : kSubcommands) {
        if (call.args.empty() || call.args[0] != sub.word) continue;
        const char* misplaced = call.has("json") && sub.run != listMacros ? "--json"
                                : call.has("loops") && sub.run != newMacro && sub.run != setMacro ? "--loops"
                                                                                                   : nullptr;
        if (!misplaced) return sub.run(call);
        call.err << "q30xctl: macro " << sub.word << " takes no " << misplaced << "\n";
        return kExitUsage;
    }
    call.err << "usage: q30xctl macro " << kMacroCommand.usage << "\n";
    return kExitUsage;
}

}  // namespace

const Command kMacroCommand = {
    "macro",
    "list [GROUP] [--json] | show ID | new GROUP NAME ROW... [--loops N] | rename ID NAME | delete ID | "
    "set ID ROW... [--loops N]",
    "list, show, make, rename, delete and change the macros of Macro.cfg",
    "list [GROUP]     every stored macro, or those of one game group (1..21 or its\n"
    "                 name): id in hex, group, event count, loop count and name.\n"
    "                 With --json: {\"macros\": [{\"id\": \"0x15012345\", \"group\": 21,\n"
    "                 \"groupName\": \"Customisze\", \"name\": \"Jump\", \"events\": 6,\n"
    "                 \"loops\": 1}, ...]} in slot order.\n"
    "show ID          one macro (ID in hex): its rows as the macro editor shows them,\n"
    "                 then the payload written to the mouse, in hex, with its word\n"
    "                 count. Keys are coded by the key table of the interface\n"
    "                 language: --language N, else the working folder's Language.cfg.\n"
    "new GROUP NAME ROW...\n"
    "                 makes a macro in a game group and stores it with its rows, as\n"
    "                 the editor stores a new macro with its first rows; prints its id.\n"
    "rename ID NAME   gives a stored macro a new name (1 to 20 characters).\n"
    "delete ID        deletes a stored macro; refused while a profile uses it.\n"
    "set ID ROW...    replaces the rows of a stored macro, keeping its name and, without\n"
    "                 --loops, its loop count.\n"
    "A ROW is a key pressed (KEY+), a key released (KEY-) or a pause (50ms), KEY\n"
    "being a key's name as macro show prints it, in either case: a+ a-, space+,\n"
    "ctrl+ c+ c- ctrl-, \"left button+\", \"num ++\" for NUM +. The rows are\n"
    "stored as the editor stores its list: adjacent pauses add up (at most\n"
    "327670 ms), pauses before the first key are dropped, and a macro that is one\n"
    "key press alone gets the loop count 65534. --loops N (1..65533) sets how\n"
    "often the mouse plays it.\n"
    "Everything is checked before Macro.cfg changes: an unknown group, id, key or\n"
    "row, a bad name or loop count, rows without a key, more than 1000 events and\n"
    "a macro in use exit with status 2 and change nothing. A running q30x keeps\n"
    "its own copy of the macros and writes it back at its next macro change.\n"
    "A macro file that is missing is reported and lists nothing.",
    runMacro};

}  // namespace q30x::cli
