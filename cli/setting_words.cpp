#include "cli/setting_words.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "buttons/assignment.h"
#include "buttons/function_names.h"
#include "buttons/key_names.h"
#include "buttons/key_tables.h"
#include "pages/led_model.h"
#include "pages/main_set_model.h"
#include "platform/ascii.h"
#include "platform/files.h"
#include "platform/utf16.h"

namespace q30x::cli {
namespace {

using Field = int32_t ProfileRecord::*;

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

std::string rangeText(int lowest, int highest) { return std::to_string(lowest) + ".." + std::to_string(highest); }

std::string readNumber(std::string_view text, int lowest, int highest, int32_t& value) {
    if (readDecimal(text, value) && value >= lowest && value <= highest) return {};
    return quoted(text) + " is not a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest);
}

std::string readSwitch(std::string_view text, int32_t& flag) {
    if (equalIgnoringAsciiCase(text, "on")) flag = 1;
    else if (equalIgnoringAsciiCase(text, "off")) flag = 0;
    else return quoted(text) + " is neither on nor off";
    return {};
}

// Takes `prefix` off the front of `text` when it is there, in any case.
bool takePrefix(std::string_view& text, std::string_view prefix) {
    if (text.size() < prefix.size() || !equalIgnoringAsciiCase(text.substr(0, prefix.size()), prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

std::string refusalText(AssignOutcome outcome, const SettingContext& context) {
    return toUtf8(assignmentMessage(outcome, context.language.chineseUi));
}

// ---- The main settings page --------------------------------------------------

SettingWord number(std::string name, int lowest, int highest, Field field, std::string meaning) {
    return {std::move(name), rangeText(lowest, highest), std::move(meaning),
            [=](SettingsState& state, std::string_view text, const SettingContext&) {
                int32_t value = 0;
                std::string refusal = readNumber(text, lowest, highest, value);
                if (refusal.empty()) state.current.*field = value;
                return refusal;
            }};
}

SettingWord onOff(std::string name, Field field, std::string meaning) {
    return {std::move(name), "on|off", std::move(meaning),
            [=](SettingsState& state, std::string_view text, const SettingContext&) {
                int32_t flag = 0;
                std::string refusal = readSwitch(text, flag);
                if (refusal.empty()) state.current.*field = flag;
                return refusal;
            }};
}

std::string offeredLevels() {
    std::string text;
    for (int32_t value : kOfferedDpiValues) text += (text.empty() ? "" : " ") + std::to_string(value);
    return text;
}

std::string storeDpi(SettingsState& state, std::string_view text, const SettingContext&) {
    std::vector<int32_t> values;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view part = text.substr(start, comma - start);
        int32_t value = 0;
        if (!readDecimal(part, value)) return quoted(part) + " is not a DPI value: give 1 to 7 of " + offeredLevels();
        values.push_back(value);
        start = comma + 1;
    }
    const mainset::DpiChoice choice = mainset::chooseDpiLevels(values);
    switch (choice.refusal) {
    case mainset::DpiRefusal::None: break;
    case mainset::DpiRefusal::NoLevel: return "give 1 to 7 of " + offeredLevels();
    case mainset::DpiRefusal::NotOffered:
        return std::to_string(choice.value) + " is not an offered DPI value: give 1 to 7 of " + offeredLevels();
    case mainset::DpiRefusal::Repeated: return std::to_string(choice.value) + " is given twice";
    case mainset::DpiRefusal::TooMany: return "at most " + std::to_string(mainset::kMaxDpiLevels) + " levels can be chosen";
    }
    mainset::writeDpiLevels(state.current, choice.checks);
    return {};
}

std::string rateValues() {
    std::string text;
    for (int32_t hz : mainset::kRateHz) text += (text.empty() ? "" : "|") + std::to_string(hz);
    return text;
}

std::string storeRate(SettingsState& state, std::string_view text, const SettingContext&) {
    int32_t hz = 0;
    if (readDecimal(text, hz))
        for (std::size_t i = 0; i < mainset::kRateHz.size(); ++i)
            if (mainset::kRateHz[i] == hz) {
                state.current.reportInterval = mainset::kRateIntervals[i];
                return {};
            }
    return quoted(text) + " is not a report rate: give " + rateValues();
}

std::string storeWheel(SettingsState& state, std::string_view text, const SettingContext&) {
    if (equalIgnoringAsciiCase(text, "screen")) {
        state.current.wheelScrollLines = mainset::kOneScreen;
        return {};
    }
    int32_t lines = 0;
    if (readDecimal(text, lines) && lines >= mainset::kMinWheelLines && lines <= mainset::kMaxWheelLines) {
        state.current.wheelScrollLines = lines;
        return {};
    }
    return quoted(text) + " is neither a number of lines from " + std::to_string(mainset::kMinWheelLines) + " to " +
           std::to_string(mainset::kMaxWheelLines) + " nor screen";
}

// ---- The button tabs and the assignment popup --------------------------------

constexpr std::array<const char*, kButtonCount> kInputWords = {"left",    "middle",  "right",    "forward",
                                                               "back",    "wheelup", "wheeldown"};

struct ActionWord {
    std::string_view prefix;
    int action;  // the advanced page's row
};
constexpr ActionWord kActionWords[] = {{"sound:", 0}, {"program:", 1}, {"file:", 2}, {"folder:", 3}};

std::string readCombination(std::string_view keys, const SettingContext& context, AssignResult& result) {
    struct ModifierWord {
        std::string_view word;
        uint32_t bit;
    };
    static constexpr ModifierWord kModifierWords[] = {
        {"ctrl", kModifierCtrl}, {"shift", kModifierShift}, {"alt", kModifierAlt}, {"win", kModifierWin}};
    uint32_t modifiers = 0;
    uint8_t usage = 0;
    std::string_view key;
    for (std::size_t start = 0; start <= keys.size();) {
        const std::size_t plus = std::min(keys.find('+', start), keys.size());
        const std::string_view part = keys.substr(start, plus - start);
        start = plus + 1;
        if (part.empty()) return "a key name is missing in " + quoted(keys);
        const ModifierWord* modifier = nullptr;
        for (const ModifierWord& m : kModifierWords)
            if (equalIgnoringAsciiCase(part, m.word)) modifier = &m;
        if (modifier) {
            if (modifiers & modifier->bit) return quoted(part) + " is given twice";
            modifiers |= modifier->bit;
            continue;
        }
        if (!key.empty()) return "only one key besides ctrl, shift, alt and win: " + quoted(key) + " and " + quoted(part);
        key = part;
        const int language = context.language.languageNumber;
        const uint32_t virtualKey = virtualKeyOfName(fromUtf8(part), KeyNameStyle::Combination, language, context.layout);
        if (virtualKey == 0) return "no key is called " + quoted(part);
        usage = usageOfVirtualKey(virtualKey, language);
        if (usage == 0) return "the mouse cannot play the key " + quoted(part);
    }
    result.code = combinationCode(modifiers, usage);
    if (result.code == 0) return "two or more of ctrl, shift, alt and win need a key";
    result.category = kCategoryCombination;
    return {};
}

std::string hexId(uint32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", id);
    return text;
}

std::string readMacro(std::string_view text, const SettingContext& context, AssignResult& result) {
    std::string_view digits = text;
    takePrefix(digits, "0x");
    uint32_t id = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id, 16);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return quoted(text) + " is not a macro id: give it in hex, as q30xctl macro list prints it";
    // Only what the popup's macro list offers: a listed macro of a game group.
    for (const MacroListEntry& entry : listByGroup(context.macros, gameGroupOf(id)))
        if (entry.id == id) {
            result.code = static_cast<int32_t>(id);
            result.category = kCategoryMacro;
            return {};
        }
    return "there is no macro " + hexId(id) + " in the macro library (q30xctl macro list shows them)";
}

std::string readAction(std::string_view text, int action, const SettingContext& context, AssignResult& result) {
    if (text.empty()) return "give a path after the colon";
    const std::string path = absolutePath(std::string(text));
    const bool folder = action == 3;
    if (folder ? !directoryExists(path) : !fileExists(path))
        return quoted(path) + (folder ? " is not a folder" : " is not a file");
    const std::u16string units = fromUtf8(path);
    if (units.size() >= kPathUnits) return refusalText(AssignOutcome::PathTooLong, context);
    result.code = advancedParam(action, result.inputIndex);
    result.category = kCategoryAdvanced;
    result.actionIndex = action;
    setFixedText(result.actionPath, units);
    return {};
}

// A function of the basic list by its English name or its type number; the
// disable box's and the input's own default function too.
std::string readBasic(std::string_view word, AssignResult& result) {
    int32_t type = 0;
    if (!readDecimal(word, type))
        for (const FunctionName& name : kFunctionNames)
            if (equalIgnoringAsciiCase(toUtf8(name.english), word)) type = name.type;
    if (type == kCategoryDisabled) {
        result.code = kDisabledCode;
        result.category = kCategoryDisabled;
        return {};
    }
    if (isBasicFunction(type) || type == kPhysicalButtons[static_cast<std::size_t>(result.inputIndex)].defaultType) {
        result.code = type;
        return {};
    }
    if (!functionName(type, 0).empty()) return quoted(word) + " is a wheel's own function: give that input default";
    return quoted(word) +
           " is not a function: give a basic function's name or number, combo:KEYS, macro:ID, sound:PATH, "
           "program:PATH, file:PATH, folder:PATH, disabled or default";
}

SettingWord button(int input) {
    const char* name = kPhysicalButtons[static_cast<std::size_t>(input)].name;
    const std::string meaning = input < 5 ? std::string("what the ") + name + " button does" : std::string("what ") + name + " does";
    return {std::string("button.") + kInputWords[static_cast<std::size_t>(input)], "FUNCTION", meaning,
            [input](SettingsState& state, std::string_view text, const SettingContext& context) {
                AssignResult result{};
                result.inputIndex = input;
                std::string refusal;
                int action = -1;
                for (const ActionWord& word : kActionWords)
                    if (action < 0 && takePrefix(text, word.prefix)) action = word.action;
                if (action >= 0) {
                    refusal = readAction(text, action, context, result);
                } else if (equalIgnoringAsciiCase(text, "default")) {
                    result.code = kPhysicalButtons[static_cast<std::size_t>(input)].defaultType;
                } else if (equalIgnoringAsciiCase(text, "disabled")) {
                    result.code = kDisabledCode;
                    result.category = kCategoryDisabled;
                } else if (takePrefix(text, "combo:")) {
                    refusal = readCombination(text, context, result);
                } else if (takePrefix(text, "macro:")) {
                    refusal = readMacro(text, context, result);
                } else {
                    refusal = readBasic(text, result);
                }
                if (!refusal.empty()) return refusal;
                const AssignmentContext assignment{context.macros, context.language.chineseUi,
                                                   context.language.languageNumber, context.layout};
                return refusalText(storeAssignment(state, input, result, assignment), context);
            }};
}

// ---- The lighting page ---------------------------------------------------------

struct ModeWord {
    std::string_view word;
    int32_t mode;
};
constexpr ModeWord kModeWords[] = {{"steady", led::kModeSteady},       {"breathing", led::kModeBreathing},
                                   {"apm-breathing", led::kModeApmBreathing}, {"spectrum", led::kModeSpectrum},
                                   {"cycle", led::kModeCycle},         {"off", led::kModeOff}};

std::string modeValues() {
    std::string text;
    for (const ModeWord& m : kModeWords) text += (text.empty() ? "" : "|") + std::string(m.word);
    return text;
}

std::string storeLighting(SettingsState& state, std::string_view text, const SettingContext&) {
    for (const ModeWord& m : kModeWords)
        if (equalIgnoringAsciiCase(text, m.word)) {
            state.current.lightingMode = m.mode;
            return {};
        }
    return quoted(text) + " is not a lighting effect: give " + modeValues();
}

std::string storeCycleSpeed(SettingsState& state, std::string_view text, const SettingContext&) {
    int32_t position = 0;
    std::string refusal = readNumber(text, led::kMinCycleSpeed, led::kMaxCycleSpeed, position);
    if (refusal.empty()) state.current.symphonySpeed = led::symphonySpeedOf(position);
    return refusal;
}

bool readHexColour(std::string_view text, uint32_t& colour) {
    if (text.size() != 7 || text[0] != '#') return false;
    uint32_t rgb = 0;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + text.size(), rgb, 16);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    // #RRGGBB to the stored 0x00BBGGRR.
    colour = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
    return true;
}

SettingWord colour(std::string name, int slot, std::string meaning) {
    return {std::move(name), "COLOUR", std::move(meaning),
            [slot](SettingsState& state, std::string_view text, const SettingContext&) -> std::string {
                const std::string_view given = text;
                if (takePrefix(text, "preset:")) {
                    int32_t preset = 0;
                    if (readDecimal(text, preset) && led::choosePreset(state.current, slot, preset)) return {};
                    return quoted(text) + " is not a preset: give 0.." + std::to_string(led::kPresets.size() - 1);
                }
                uint32_t value = 0;
                if (readHexColour(text, value) && led::setOwnColour(state.current, slot, value)) return {};
                return quoted(given) + " is not a colour: give #RRGGBB in hex digits or preset:N";
            }};
}

}  // namespace

bool readDecimal(std::string_view text, int32_t& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

const std::vector<SettingWord>& settingWords() {
    static const std::vector<SettingWord> words = [] {
        std::vector<SettingWord> w;
        w.push_back({"dpi", "LEVELS", "the DPI levels: 1 to 7, comma-separated, in any order", storeDpi});
        w.push_back({"rate", rateValues(), "the USB report rate in Hz", storeRate});
        w.push_back(number("speed", mainset::kMinSpeed, mainset::kMaxSpeed, &ProfileRecord::pointerSpeed,
                           "the pointer speed"));
        w.push_back(onOff("precision", &ProfileRecord::enhancePointerPrecision, "enhanced pointer precision"));
        w.push_back(number("height", mainset::kMinHeight, mainset::kMaxHeight, &ProfileRecord::heightSetting,
                           "the lift-off height (stored and shown only)"));
        w.push_back({"wheel", rangeText(mainset::kMinWheelLines, mainset::kMaxWheelLines) + "|screen",
                     "lines per wheel notch, or one screen", storeWheel});
        for (int input = 0; input < kButtonCount; ++input) w.push_back(button(input));
        w.push_back({"lighting", modeValues(), "the lighting effect", storeLighting});
        w.push_back(number("brightness", led::kMinBrightness, led::kMaxBrightness, &ProfileRecord::brightness,
                           "the brightness of steady"));
        w.push_back(number("breathing", led::kMinBreathing, led::kMaxBreathing, &ProfileRecord::breathingFrequency,
                           "the speed of breathing"));
        w.push_back({"cycle-speed", rangeText(led::kMinCycleSpeed, led::kMaxCycleSpeed),
                     "the speed of cycle with its built-in colours", storeCycleSpeed});
        w.push_back(onOff("cycle-custom", &ProfileRecord::symphonyCustom, "cycle through cycle-colour1..3 instead"));
        w.push_back(colour("colour", led::kSingleSlot, "the light colour of steady and breathing"));
        for (int slot = 0; slot < led::kSingleSlot; ++slot)
            w.push_back(colour("cycle-colour" + std::to_string(slot + 1), slot,
                               "colour " + std::to_string(slot + 1) + " of the custom cycle"));
        w.push_back(onOff("proximity", &ProfileRecord::proximitySensing, "proximity sensing"));
        return w;
    }();
    return words;
}

std::string storeSetting(SettingsState& state, std::string_view word, const SettingContext& context) {
    const std::size_t equals = word.find('=');
    if (equals == std::string_view::npos) return "give SETTING=VALUE";
    const std::string_view name = word.substr(0, equals);
    for (const SettingWord& setting : settingWords())
        if (equalIgnoringAsciiCase(name, setting.name)) return setting.store(state, word.substr(equals + 1), context);
    return "there is no such setting (q30xctl set --help lists them)";
}

std::string settingsHelp() {
    constexpr std::size_t kColumn = 30;
    std::string text = "Settings:\n";
    for (const SettingWord& setting : settingWords()) {
        const std::string form = "  " + setting.name + "=" + setting.values;
        text += form + std::string(form.size() < kColumn ? kColumn - form.size() : 2, ' ') + setting.meaning + "\n";
    }
    text += "\nLEVELS: " + offeredLevels() + "\n";
    text += "\nFUNCTION: a function of the basic list by its name (quoted when it has spaces)\nor its number:\n";
    std::string line;
    for (const BasicFunction& row : kBasicFunctions) {
        const std::string entry = toUtf8(functionName(row.type, 0)) + " (" + std::to_string(row.type) + ")";
        if (line.size() + entry.size() > 74) {
            text += "  " + line + ",\n";
            line.clear();
        }
        line += (line.empty() ? "" : ", ") + entry;
    }
    text += "  " + line + "\n";
    text +=
        "or combo:KEYS (ctrl, shift, alt, win and one key, joined by +, e.g.\n"
        "combo:ctrl+shift+s), macro:ID (hex, as macro list prints it), sound:PATH,\n"
        "program:PATH, file:PATH or folder:PATH (run by this computer; not on\n"
        "button.left), disabled, or default (the input's own function).\n"
        "\nCOLOUR: #RRGGBB in hex digits, or preset:N for the lighting page's preset\n"
        "N (0.." +
        std::to_string(led::kPresets.size() - 1) + ", left to right, then top to bottom).";
    return text;
}

}  // namespace q30x::cli
