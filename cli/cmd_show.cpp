#include <cstdio>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>

#include "buttons/function_names.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "platform/files.h"
#include "platform/utf16.h"

namespace q30x::cli {
namespace {

std::string hex(uint32_t value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, value);
    return buffer;
}

std::string rgb(uint32_t bgr) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    return buffer;
}

std::string quoted(std::u16string_view text) { return "\"" + toUtf8(text) + "\""; }

template <typename T, std::size_t N>
std::string list(const T (&values)[N], std::string (*format)(T)) {
    std::string out;
    for (std::size_t i = 0; i < N; ++i) out += (i ? " " : "") + format(values[i]);
    return out;
}

std::string decimal(int32_t value) { return std::to_string(value); }
std::string colour(uint32_t value) { return rgb(value); }

const char* reportRateText(int32_t interval) {
    switch (interval) {
    case 1: return " (1000 Hz)";
    case 2: return " (500 Hz)";
    case 4: return " (250 Hz)";
    case 8: return " (125 Hz)";
    default: return "";
    }
}

void printProfile(std::ostream& out, const ProfileRecord& record, int chineseUi) {
    out << "magic: " << hex(record.magic, 8) << "\n";
    for (const auto& button : kPhysicalButtons) {
        const ButtonAssignment& slot = record.buttons[button.index];
        std::u16string_view name = functionName(slot.functionType, chineseUi);
        out << "button " << button.index << " (" << button.name << "):\n"
            << "  functionType: " << slot.functionType << (name.empty() ? "" : " (" + toUtf8(name) + ")") << "\n"
            << "  label: " << quoted(fixedText(slot.label)) << "\n"
            << "  macroId: " << hex(static_cast<uint32_t>(slot.macroId), 8) << "\n"
            << "  advancedKind: " << hex(static_cast<uint32_t>(slot.advancedKind), 2) << "\n"
            << "  comboCode: " << hex(slot.comboCode, 8) << "\n"
            << "  advancedParam: " << hex(static_cast<uint32_t>(slot.advancedParam), 8) << "\n"
            << "  targetPath: " << quoted(fixedText(slot.targetPath)) << "\n";
    }
    out << "dpiLevels: " << list(record.dpiLevels, decimal) << "\n"
        << "heightSetting: " << record.heightSetting << "\n"
        << "reportInterval: " << record.reportInterval << reportRateText(record.reportInterval) << "\n"
        << "lightingMode: " << record.lightingMode << "\n"
        << "symphonyCustom: " << record.symphonyCustom << "\n"
        << "ledColour: " << list(record.ledColour, colour) << "\n"
        << "ledColourIsCustom: " << list(record.ledColourIsCustom, decimal) << "\n"
        << "ledColourPreset: " << list(record.ledColourPreset, decimal) << "\n"
        << "proximitySensing: " << record.proximitySensing << "\n"
        << "enhancePointerPrecision: " << record.enhancePointerPrecision << "\n"
        << "pointerSpeed: " << record.pointerSpeed << "\n"
        << "brightness: " << record.brightness << "\n"
        << "breathingFrequency: " << record.breathingFrequency << "\n"
        << "symphonySpeed: " << record.symphonySpeed << "\n"
        << "wheelScrollLines: " << record.wheelScrollLines << (record.wheelScrollLines == -1 ? " (one screen)" : "")
        << "\n";
}

int showFile(Invocation& call, const std::string& path, int chineseUi) {
    FileRead read = readFile(path, sizeof(ProfileRecord));
    if (read.error != FileError::None) {
        call.err << "q30xctl: cannot read " << path
                 << (read.error == FileError::NotFound       ? ": no such file"
                     : read.error == FileError::AccessDenied ? ": access denied"
                                                              : "")
                 << "\n";
        return kExitBadInput;
    }
    auto record = std::make_unique<ProfileRecord>();
    std::memset(static_cast<void*>(record.get()), 0, sizeof *record);
    std::memcpy(static_cast<void*>(record.get()), read.bytes.data(), read.bytes.size());
    if (!isValidProfile(*record)) {
        call.err << "q30xctl: " << path << " is not a Q30X profile (it does not start with the profile magic "
                 << hex(kProfileMagic, 8) << ")\n";
        return kExitBadInput;
    }
    call.out << "profile file: " << path << "\n";
    printProfile(call.out, *record, chineseUi);
    return kExitOk;
}

int runShow(Invocation& call) {
    if (call.args.size() > 1) {
        call.err << "usage: q30xctl show [FILE]\n";
        return kExitUsage;
    }
    Session session(call);
    if (!session.languageOptionValid()) return kExitUsage;
    if (call.args.size() == 1) {
        if (directoryExists(session.folders.working)) session.applyStoredLanguage();
        return showFile(call, call.args[0], session.language.chineseUi);
    }
    if (!session.startUp()) return kExitUsage;
    call.out << "current profile: " << session.state->currentEntry + 1 << " ("
             << session.store->profilePath(session.state->currentEntry) << ")\n";
    printProfile(call.out, session.state->current, session.language.chineseUi);
    return kExitOk;
}

}  // namespace

const Command kShowCommand = {
    "show", "[FILE]", "print the current profile, or a profile file, field by field",
    "Without FILE, loads the working folder as the program does at start-up and\n"
    "prints the current profile. With FILE, prints that profile file; a file that\n"
    "is not a profile is refused with exit status 2.",
    runShow};

}  // namespace q30x::cli
