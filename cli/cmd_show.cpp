#include <cstdio>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>

#include "buttons/function_names.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/session.h"
#include "pages/main_set_model.h"
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

// The rate an interval's radio is labelled with; 0 for an interval no radio stores.
int32_t reportRateHz(int32_t interval) {
    const int radio = mainset::rateIndex(interval);
    return radio < 0 ? 0 : mainset::kRateHz[static_cast<std::size_t>(radio)];
}

std::string reportRateText(int32_t interval) {
    const int32_t hz = reportRateHz(interval);
    return hz ? " (" + std::to_string(hz) + " Hz)" : "";
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

template <typename T, std::size_t N>
void jsonList(JsonWriter& json, std::string_view key, const T (&values)[N]) {
    json.key(key).beginArray();
    for (const T& value : values) json.value(value);
    json.endArray();
}

// The same fields as printProfile, numbers as numbers and colours as text.
void writeProfileJson(JsonWriter& json, const ProfileRecord& record, int chineseUi) {
    json.key("magic").value(record.magic).key("buttons").beginArray();
    for (const auto& button : kPhysicalButtons) {
        const ButtonAssignment& slot = record.buttons[button.index];
        json.beginObject()
            .key("index").value(button.index)
            .key("name").value(button.name)
            .key("functionType").value(slot.functionType)
            .key("functionName").value(toUtf8(functionName(slot.functionType, chineseUi)))
            .key("label").value(toUtf8(fixedText(slot.label)))
            .key("macroId").value(static_cast<uint32_t>(slot.macroId))
            .key("advancedKind").value(slot.advancedKind)
            .key("comboCode").value(slot.comboCode)
            .key("advancedParam").value(slot.advancedParam)
            .key("targetPath").value(toUtf8(fixedText(slot.targetPath)))
            .endObject();
    }
    json.endArray();
    jsonList(json, "dpiLevels", record.dpiLevels);
    json.key("heightSetting").value(record.heightSetting).key("reportInterval").value(record.reportInterval);
    if (const int32_t hz = reportRateHz(record.reportInterval)) json.key("reportRateHz").value(hz);
    else json.key("reportRateHz").null();
    json.key("lightingMode").value(record.lightingMode).key("symphonyCustom").value(record.symphonyCustom);
    json.key("ledColour").beginArray();
    for (uint32_t value : record.ledColour) json.value(rgb(value));
    json.endArray();
    jsonList(json, "ledColourIsCustom", record.ledColourIsCustom);
    jsonList(json, "ledColourPreset", record.ledColourPreset);
    json.key("proximitySensing").value(record.proximitySensing)
        .key("enhancePointerPrecision").value(record.enhancePointerPrecision)
        .key("pointerSpeed").value(record.pointerSpeed)
        .key("brightness").value(record.brightness)
        .key("breathingFrequency").value(record.breathingFrequency)
        .key("symphonySpeed").value(record.symphonySpeed)
        .key("wheelScrollLines").value(record.wheelScrollLines)
        .key("wheelOneScreen").value(record.wheelScrollLines == -1);
}

// One profile, as text or as one JSON object with `profile` (0: a file) and `file`.
void printShown(Invocation& call, int profile, const std::string& file, const ProfileRecord& record, int chineseUi) {
    if (!call.has("json")) {
        if (profile) call.out << "current profile: " << profile << " (" << file << ")\n";
        else call.out << "profile file: " << file << "\n";
        printProfile(call.out, record, chineseUi);
        return;
    }
    JsonWriter json(call.out);
    json.beginObject();
    if (profile) json.key("profile").value(profile);
    json.key("file").value(file);
    writeProfileJson(json, record, chineseUi);
    json.endObject();
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
    printShown(call, 0, path, *record, chineseUi);
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
    printShown(call, session.state->currentEntry + 1, session.store->profilePath(session.state->currentEntry),
               session.state->current, session.language.chineseUi);
    return kExitOk;
}

}  // namespace

const Command kShowCommand = {
    "show", "[FILE] [--json]", "print the current profile, or a profile file, field by field",
    "Without FILE, loads the working folder as the program does at start-up and\n"
    "prints the current profile. With FILE, prints that profile file; a file that\n"
    "is not a profile is refused with exit status 2.\n\n"
    "With --json, one object with the same fields: \"profile\" (the current\n"
    "profile's number; absent with FILE), \"file\", \"magic\", \"buttons\" (seven\n"
    "objects: index, name, functionType, functionName, label, macroId,\n"
    "advancedKind, comboCode, advancedParam, targetPath), \"dpiLevels\" (14),\n"
    "heightSetting, reportInterval, reportRateHz (null for an interval no rate\n"
    "has), lightingMode, symphonyCustom, \"ledColour\" (4 \"#RRGGBB\" texts),\n"
    "ledColourIsCustom (4), ledColourPreset (4), proximitySensing,\n"
    "enhancePointerPrecision, pointerSpeed, brightness, breathingFrequency,\n"
    "symphonySpeed, wheelScrollLines and wheelOneScreen (true for -1).\n"
    "Numbers are JSON numbers, flags 0 or 1 as stored.",
    runShow};

}  // namespace q30x::cli
