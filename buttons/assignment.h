#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "macros/macro_library.h"
#include "platform/keyboard_layout.h"
#include "settings/settings_state.h"

namespace q30x {

// Categories of an AssignResult; 0 is the basic list and the Default button.
inline constexpr int32_t kCategoryBasic = 0;
inline constexpr int32_t kCategoryCombination = 5;
inline constexpr int32_t kCategoryMacro = 6;
inline constexpr int32_t kCategoryAdvanced = 19;
inline constexpr int32_t kCategoryDisabled = 121;

// The code the popup's disable box hands back with kCategoryDisabled.
inline constexpr int32_t kDisabledCode = 7;

inline constexpr int32_t kTypeLeftClick = 1;
inline constexpr int32_t kTypeSniper = 142;
inline constexpr int kAdvancedActions = 4;  // sound, program, file, folder

// What the assignment popup hands back.
struct AssignResult {
    int32_t inputIndex;
    int32_t code;  // FunctionType, ComboCode, macro id or advanced action code; 0: nothing chosen
    int32_t category;
    int32_t actionIndex;
    char16_t actionPath[kPathUnits];
};

enum class AssignOutcome {
    Stored,
    NothingChosen,      // code 0: the popup was left without a choice
    LeftClickRequired,  // no other input would keep the left click
    SniperOnWheel,
    AdvancedOnLeftKey,  // the left click would be swallowed and nothing would run
    NotAnInput,         // index outside 0..6 or action index outside 0..3
    PathTooLong,        // an advanced path without room for its terminator: a cut path names another file
};

// The message a refusal is shown with; empty for Stored.
std::u16string_view assignmentMessage(AssignOutcome outcome, int chineseUi);

// The code an advanced row of the popup carries, stored as advancedParam.
constexpr int32_t advancedParam(int actionIndex, int inputIndex) {
    return ((0xC + actionIndex) << 20) + (inputIndex << 16) + 6;
}
// 0xC0 sound, 0xD0 program, 0xE0 file, 0xF0 folder.
constexpr int32_t advancedKind(int actionIndex) { return 0xC0 + 0x10 * actionIndex; }

// Modifier bits of a ComboCode's byte 1: the HID left-hand modifier bits.
inline constexpr uint32_t kModifierCtrl = 0x01;
inline constexpr uint32_t kModifierShift = 0x02;
inline constexpr uint32_t kModifierAlt = 0x04;
inline constexpr uint32_t kModifierWin = 0x08;

// The ComboCode of the ticked modifiers and a key's usage (0: no key). One
// modifier without a key stands for that left-hand key alone; two or more
// without a key name nothing and give 0.
int32_t combinationCode(uint32_t modifiers, uint8_t usage);

// "Shift + Ctrl + S": the modifiers in that fixed order, then the key named
// in combination style through the language's key table.
std::u16string combinationLabel(uint32_t comboCode, int languageNumber, const KeyboardLayout& layout);

// True while the input's function differs from its default: its tab is marked.
bool isAssignmentChanged(const ProfileRecord& profile, int inputIndex);

// What the label and refusals are worded and keyed by.
struct AssignmentContext {
    const MacroLibrary& macros;
    int chineseUi;
    int languageNumber;
    const KeyboardLayout& layout;
};

// Applies the popup's choice to input `inputIndex` of the current profile and
// its macro reference, or refuses it and changes nothing.
AssignOutcome storeAssignment(SettingsState& state, int inputIndex, const AssignResult& result,
                              const AssignmentContext& context);

}  // namespace q30x
