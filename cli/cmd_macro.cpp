#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>

#include "buttons/key_tables.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "i18n/languages.h"
#include "macros/game_presets.h"
#include "macros/macro_store.h"
#include "macros/payload_encoder.h"
#include "platform/files.h"
#include "platform/utf16.h"

namespace q30x::cli {
namespace {

std::string hex(uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", value);
    return buffer;
}

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

// A name read from the file, quoted; control characters are shown escaped
// so a damaged file cannot drive the terminal.
std::string quotedName(const MacroRecord& record) {
    std::string text = "\"";
    for (char c : toUtf8(fixedText(record.name))) {
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

// A group by number or by its caption or menu text in either wording.
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

int listMacros(Invocation& call) {
    if (call.args.size() > 2) {
        call.err << "usage: q30xctl macro list [GROUP]\n";
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
    const int chineseUi = session.language.chineseUi;
    int shown = 0;
    call.out << padded("ID", 12) << padded("GROUP", 36) << padded("EVENTS", 6, true) << padded("LOOPS", 7, true)
             << "  NAME\n";
    for (const MacroRecord& record : session.macros->slots) {
        if (!isListed(record) || (group && gameGroupOf(record.id) != group)) continue;
        call.out << padded(hex(record.id), 12) << padded(groupText(gameGroupOf(record.id), chineseUi), 36)
                 << padded(std::to_string(record.eventCount), 6, true)
                 << padded(std::to_string(record.loopCount), 7, true) << "  " << quotedName(record) << "\n";
        ++shown;
    }
    if (!shown) call.out << (group ? "no macros in group " + groupText(group, chineseUi) : std::string("no macros")) << "\n";
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
    const std::string& word = call.args[1];
    char* end = nullptr;
    unsigned long long id = std::strtoull(word.c_str(), &end, 16);
    if (word.empty() || *end || id > 0xFFFFFFFFull || word[0] == '-') {
        call.err << "q30xctl: '" << word << "' is not a macro id: give it in hex, as macro list prints it\n";
        return kExitBadInput;
    }
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    session.loadMacroLibrary();
    const MacroRecord* record = findById(*session.macros, static_cast<uint32_t>(id));
    if (!record) {
        call.err << "q30xctl: no macro with id " << hex(static_cast<uint32_t>(id)) << " in "
                 << session.macroStore->filePath() << "\n";
        return kExitBadInput;
    }
    const LanguageState& language = session.language;
    call.out << "macro " << hex(record->id) << " " << quotedName(*record) << "\n"
             << "group: " << groupText(gameGroupOf(record->id), language.chineseUi) << "\n"
             << "slot: " << (record - session.macros->slots) << "  size: " << record->size
             << "  magic: " << hex(record->magic) << "\n"
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
                     << hex(record->events[rows.size()]) << ", not a valid item)\n";
        else
            call.out << "  (the event count is more than the record's 1000 events)\n";
    }
    printPayload(call.out, encodeMacroPayload(*record, language.languageNumber), language.languageNumber);
    return kExitOk;
}

int runMacro(Invocation& call) {
    if (!call.args.empty() && call.args[0] == "list") return listMacros(call);
    if (!call.args.empty() && call.args[0] == "show") return showMacro(call);
    call.err << "usage: q30xctl macro list [GROUP] | macro show ID\n";
    return kExitUsage;
}

}  // namespace

const Command kMacroCommand = {
    "macro", "list [GROUP] | show ID", "list the macros of Macro.cfg, or show one macro and its payload",
    "list [GROUP]  every stored macro, or those of one game group (1..21 or its\n"
    "              name): id in hex, group, event count, loop count and name.\n"
    "show ID       one macro (ID in hex): its rows as the macro editor shows them,\n"
    "              then the payload written to the mouse, in hex, with its word\n"
    "              count. Keys are coded by the key table of the interface\n"
    "              language: --language N, else the working folder's Language.cfg.\n"
    "A macro file that is missing is reported and lists nothing; an unknown id\n"
    "or group exits with status 2.",
    runMacro};

}  // namespace q30x::cli
