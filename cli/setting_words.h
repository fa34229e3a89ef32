#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/catalogue.h"
#include "macros/macro_library.h"
#include "platform/keyboard_layout.h"
#include "settings/settings_state.h"

namespace q30x::cli {

// What a setting's value is read against: the macros the popup would list,
// the interface wording of labels and refusals, and the key names.
struct SettingContext {
    const MacroLibrary& macros;
    const LanguageState& language;
    const KeyboardLayout& layout;
};

// One SETTING of `q30xctl set`: its name, the values it takes and what it
// is, for --help, and how a value is stored, by the rule of the page that
// edits the setting.
struct SettingWord {
    std::string name;
    std::string values;
    std::string meaning;
    // Empty when stored; else why the value is refused.
    std::function<std::string(SettingsState&, std::string_view value, const SettingContext&)> store;
};

// A whole number in decimal digits only: "0x10", "+5" or " 5" are none.
bool readDecimal(std::string_view text, int32_t& value);

// Every setting, in the order of the pages' controls.
const std::vector<SettingWord>& settingWords();

// Stores one SETTING=VALUE word. Empty when stored; else why not, without
// the word itself. A refused word may have stored part of its value: the
// caller drops the whole state.
std::string storeSetting(SettingsState& state, std::string_view word, const SettingContext& context);

// The settings with their values, one "  NAME=VALUES  meaning" line each,
// then what FUNCTION and COLOUR stand for.
std::string settingsHelp();

}  // namespace q30x::cli
