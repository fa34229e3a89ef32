#include "buttons/assignment.h"

#include <bit>

#include "buttons/function_names.h"
#include "buttons/key_names.h"
#include "buttons/key_tables.h"
#include "platform/utf16.h"

namespace q30x {
namespace {

struct Modifier {
    uint8_t bit;
    std::u16string_view name;
};

// Label order, not bit order.
constexpr Modifier kModifiers[] = {{0x02, u"Shift"}, {0x01, u"Ctrl"}, {0x04, u"Alt"}, {0x08, u"Win"}};

bool anotherInputClicks(const ProfileRecord& profile, int inputIndex) {
    for (int i = 0; i < kButtonCount; ++i)
        if (i != inputIndex && profile.buttons[i].functionType == kTypeLeftClick) return true;
    return false;
}

}  // namespace

std::u16string_view assignmentMessage(AssignOutcome outcome, int chineseUi) {
    switch (outcome) {
    case AssignOutcome::LeftClickRequired:
        return chineseUi ? u"请保留至少一个键为\"单击\"功能!" : u"At least one button must be configured as 'Left click'!";
    case AssignOutcome::SniperOnWheel:
        return chineseUi ? u"此按键不可使用狙击功能!" : u"This key can not use the sniper function!";
    case AssignOutcome::AdvancedOnLeftKey:
        return chineseUi ? u"左键不可使用高级功能!" : u"The Left key can not use an advanced function!";
    case AssignOutcome::NotAnInput:
        return chineseUi ? u"无效的按键设置!" : u"This is not a valid key setting!";
    case AssignOutcome::PathTooLong:
        return chineseUi ? u"路径太长, 最多 259 个字符!" : u"The path is too long; at most 259 characters are allowed!";
    case AssignOutcome::Stored:
    case AssignOutcome::NothingChosen: break;
    }
    return {};
}

std::u16string combinationLabel(uint32_t comboCode, int languageNumber, const KeyboardLayout& layout) {
    const uint8_t modifiers = static_cast<uint8_t>(comboCode >> 8);
    const uint8_t usage = static_cast<uint8_t>(comboCode >> 16);
    std::u16string key = keyName(virtualKeyOfUsage(usage, languageNumber), KeyNameStyle::Combination, languageNumber, layout);
    if (modifiers == 0) return key;
    std::u16string label;
    for (const Modifier& modifier : kModifiers) {
        if (!(modifiers & modifier.bit)) continue;
        if (!label.empty()) label += u" + ";
        label += modifier.name;
    }
    return label + u" + " + key;
}

int32_t combinationCode(uint32_t modifiers, uint8_t usage) {
    modifiers &= 0x0F;
    if (usage != 0) return static_cast<int32_t>(uint32_t{usage} << 16 | modifiers << 8);
    if (std::popcount(modifiers) != 1) return 0;
    // Left Ctrl, Shift, Alt and GUI are usages 0xE0..0xE3, in the order of their bits.
    const uint32_t lone = 0xE0 + static_cast<uint32_t>(std::countr_zero(modifiers));
    return static_cast<int32_t>(lone << 16);
}

bool isAssignmentChanged(const ProfileRecord& profile, int inputIndex) {
    if (inputIndex < 0 || inputIndex >= kButtonCount) return false;
    return profile.buttons[inputIndex].functionType != kPhysicalButtons[inputIndex].defaultType;
}

AssignOutcome storeAssignment(SettingsState& state, int i, const AssignResult& result, const AssignmentContext& context) {
    const int32_t u = result.code, g = result.category, a = result.actionIndex;
    if (i < 0 || i >= kButtonCount) return AssignOutcome::NotAnInput;
    if (u == 0) return AssignOutcome::NothingChosen;
    if (g == kCategoryAdvanced && (a < 0 || a >= kAdvancedActions)) return AssignOutcome::NotAnInput;
    if (g == kCategoryAdvanced && fixedText(result.actionPath).size() >= kPathUnits) return AssignOutcome::PathTooLong;
    const bool ownCategory =
        g == kCategoryCombination || g == kCategoryMacro || g == kCategoryAdvanced || g == kCategoryDisabled;
    const int32_t type = ownCategory ? g : u;
    if (type != kTypeLeftClick && !anotherInputClicks(state.current, i)) return AssignOutcome::LeftClickRequired;
    if (u == kTypeSniper && (i == 5 || i == 6)) return AssignOutcome::SniperOnWheel;
    if (type == kCategoryAdvanced && i == 0) return AssignOutcome::AdvancedOnLeftKey;

    ButtonAssignment& slot = state.current.buttons[i];
    state.macroRefs[i] = 0;
    slot.functionType = g;
    switch (g) {
    case kCategoryCombination:
        slot.comboCode = static_cast<uint32_t>(u);
        setFixedText(slot.label, combinationLabel(static_cast<uint32_t>(u), context.languageNumber, context.layout));
        break;
    case kCategoryMacro: {
        state.macroRefs[i] = u;
        slot.macroId = u;
        const MacroRecord* macro = findById(context.macros, static_cast<uint32_t>(u));
        setFixedText(slot.label, macro ? fixedText(macro->name) : std::u16string_view{});
        break;
    }
    case kCategoryAdvanced:
        slot.advancedParam = u;
        setFixedText(slot.targetPath, fixedText(result.actionPath));
        setFixedText(slot.label, fixedText(result.actionPath));
        slot.advancedKind = advancedKind(a);
        break;
    case kCategoryDisabled:
        setFixedText(slot.label, functionName(kCategoryDisabled, context.chineseUi));
        break;
    default:
        slot.functionType = u;
        setFixedText(slot.label, functionName(u, context.chineseUi));
        break;
    }
    return AssignOutcome::Stored;
}

}  // namespace q30x
