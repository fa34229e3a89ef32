#include "buttons/assignment.h"

#include <gtest/gtest.h>
#include <memory>

#include "platform/utf16.h"
#include "tests/support/bytes.h"
#include "tests/support/fake_keyboard_layout.h"

namespace q30x {
namespace {

constexpr int kEnglish = 2;
constexpr int32_t kMacroId = 0x15000123;

class Assignment : public ::testing::Test {
protected:
    Assignment() : state(std::make_unique<SettingsState>()), macros(std::make_unique<MacroLibrary>()) {
        fillProfileDefaults(state->current, 0);
        macros->slots[3].magic = kMacroMagic;
        macros->slots[3].size = 4108;
        macros->slots[3].id = kMacroId;
        setFixedText(macros->slots[3].name, u"Reload");
    }

    AssignOutcome assign(int index, int32_t code, int32_t category = kCategoryBasic, int actionIndex = 0,
                         std::u16string_view path = {}, int chineseUi = 0) {
        AssignResult result{};
        result.inputIndex = index;
        result.code = code;
        result.category = category;
        result.actionIndex = actionIndex;
        setFixedText(result.actionPath, path);
        return storeAssignment(*state, index, result, {*macros, chineseUi, kEnglish, layout});
    }
    const ButtonAssignment& slot(int index) const { return state->current.buttons[index]; }
    std::u16string label(int index) const { return std::u16string(fixedText(slot(index).label)); }

    std::unique_ptr<SettingsState> state;
    std::unique_ptr<MacroLibrary> macros;
    test::FakeKeyboardLayout layout;
};

TEST_F(Assignment, LeftClickRuleWithOnlyTheLeftKeyClicking) {
    EXPECT_EQ(assign(0, 1), AssignOutcome::Stored);  // the basic list or the Default button
    EXPECT_EQ(label(0), u"Click");
    const auto before = test::bytesOf(state->current);
    for (auto [code, category] : {std::pair{2, kCategoryBasic}, {7, kCategoryDisabled}, {0x00160300, kCategoryCombination},
                                  {kMacroId, kCategoryMacro}, {142, kCategoryBasic}, {143, kCategoryBasic}}) {
        EXPECT_EQ(assign(0, code, category), AssignOutcome::LeftClickRequired) << code;
        EXPECT_EQ(test::bytesOf(state->current), before) << code;
    }
}

TEST_F(Assignment, LeftClickRuleWithAnotherClickingKey) {
    ASSERT_EQ(assign(1, 1), AssignOutcome::Stored);
    EXPECT_EQ(assign(0, 2), AssignOutcome::Stored);
    EXPECT_EQ(slot(0).functionType, 2);
    EXPECT_EQ(assign(1, 4), AssignOutcome::LeftClickRequired);
    EXPECT_EQ(slot(1).functionType, 1);
}

TEST_F(Assignment, SniperOnlyOnTheButtonsFireEverywhere) {
    ASSERT_EQ(assign(2, 1), AssignOutcome::Stored);  // the Left key may then change too
    for (int index = 0; index < kButtonCount; ++index) {
        if (index == 2) continue;
        EXPECT_EQ(assign(index, 142), index >= 5 ? AssignOutcome::SniperOnWheel : AssignOutcome::Stored) << index;
        EXPECT_EQ(slot(index).functionType, index >= 5 ? kPhysicalButtons[index].defaultType : 142) << index;
        EXPECT_EQ(assign(index, 143), AssignOutcome::Stored) << index;
        EXPECT_EQ(slot(index).functionType, 143);
        EXPECT_EQ(label(index), u"FIRE");
    }
}

TEST_F(Assignment, DefaultButtonAndDisableBox) {
    ASSERT_EQ(assign(5, 143), AssignOutcome::Stored);
    EXPECT_EQ(assign(5, 11), AssignOutcome::Stored);
    EXPECT_EQ(slot(5).functionType, 11);
    EXPECT_EQ(label(5), u"Scroll up");
    EXPECT_EQ(assign(5, 11, kCategoryBasic, 0, {}, 1), AssignOutcome::Stored);
    EXPECT_EQ(label(5), u"滚轮前滚");

    EXPECT_EQ(assign(4, 7, kCategoryDisabled), AssignOutcome::Stored);
    EXPECT_EQ(slot(4).functionType, 121);
    EXPECT_EQ(label(4), u"Disable key");
}

TEST_F(Assignment, CombinationLabelAndCode) {
    ASSERT_EQ(assign(3, 0x00160300, kCategoryCombination), AssignOutcome::Stored);
    EXPECT_EQ(slot(3).functionType, 5);
    EXPECT_EQ(slot(3).comboCode, 0x00160300u);
    EXPECT_EQ(label(3), u"Shift + Ctrl + S");
}

TEST_F(Assignment, MacroSetsTheReferenceAndOthersClearIt) {
    setFixedText(state->current.buttons[4].targetPath, u"/kept");
    ASSERT_EQ(assign(4, kMacroId, kCategoryMacro), AssignOutcome::Stored);
    EXPECT_EQ(slot(4).functionType, 6);
    EXPECT_EQ(slot(4).macroId, kMacroId);
    EXPECT_EQ(state->macroRefs[4], kMacroId);
    EXPECT_EQ(label(4), u"Reload");
    EXPECT_EQ(fixedText(slot(4).targetPath), u"/kept");  // fields the choice does not concern

    ASSERT_EQ(assign(4, 16), AssignOutcome::Stored);
    EXPECT_EQ(state->macroRefs[4], 0);
    EXPECT_EQ(slot(4).macroId, kMacroId);  // stays: only the reference list says what plays

    EXPECT_EQ(assign(3, 0x15999999, kCategoryMacro), AssignOutcome::Stored);
    EXPECT_EQ(label(3), u"");  // a macro missing from the library has no name
}

TEST_F(Assignment, AdvancedActionKeepsItsFullPathUpTo259Units) {
    const int32_t code = advancedParam(2, 3);
    EXPECT_EQ(code, 0x00E30006);
    ASSERT_EQ(assign(3, code, kCategoryAdvanced, 2, u"/home/u/notes.txt"), AssignOutcome::Stored);
    EXPECT_EQ(slot(3).functionType, 19);
    EXPECT_EQ(slot(3).advancedKind, 0xE0);
    EXPECT_EQ(slot(3).advancedParam, code);
    EXPECT_EQ(fixedText(slot(3).targetPath), u"/home/u/notes.txt");
    EXPECT_EQ(label(3), u"/home/u/notes.txt");

    std::u16string longPath(300, u'p');
    ButtonAssignment& target = state->current.buttons[1];
    ASSERT_EQ(assign(1, advancedParam(3, 1), kCategoryAdvanced, 3, longPath), AssignOutcome::Stored);
    EXPECT_EQ(fixedText(target.label).size(), 259u);
    EXPECT_EQ(target.advancedKind, 0xF0);
}

TEST_F(Assignment, AdvancedActionRefusedOnTheLeftKey) {
    ASSERT_EQ(assign(1, 1), AssignOutcome::Stored);
    const auto before = test::bytesOf(state->current);
    EXPECT_EQ(assign(0, advancedParam(1, 0), kCategoryAdvanced, 1, u"/usr/bin/true"), AssignOutcome::AdvancedOnLeftKey);
    EXPECT_EQ(test::bytesOf(state->current), before);
}

TEST_F(Assignment, ChoicesOutsideTheInputsAreRefused) {
    ASSERT_EQ(assign(1, 1), AssignOutcome::Stored);  // so the left-click rule would not refuse
    const auto before = test::bytesOf(state->current);
    EXPECT_EQ(assign(7, 1), AssignOutcome::NotAnInput);
    EXPECT_EQ(assign(-1, 1), AssignOutcome::NotAnInput);
    EXPECT_EQ(assign(3, advancedParam(4, 3), kCategoryAdvanced, 4, u"/x"), AssignOutcome::NotAnInput);
    EXPECT_EQ(assign(3, advancedParam(0, 3), kCategoryAdvanced, -1, u"/x"), AssignOutcome::NotAnInput);
    EXPECT_EQ(assign(0, 0), AssignOutcome::NothingChosen);
    EXPECT_EQ(assign(0, 0, kCategoryCombination), AssignOutcome::NothingChosen);
    EXPECT_EQ(test::bytesOf(state->current), before);
}

TEST_F(Assignment, ChangedMarkerFollowsTheDefaultType) {
    for (int index = 0; index < kButtonCount; ++index) EXPECT_FALSE(isAssignmentChanged(state->current, index));
    ASSERT_EQ(assign(2, 4), AssignOutcome::Stored);
    EXPECT_TRUE(isAssignmentChanged(state->current, 2));
    ASSERT_EQ(assign(2, 2), AssignOutcome::Stored);
    EXPECT_FALSE(isAssignmentChanged(state->current, 2));
    EXPECT_FALSE(isAssignmentChanged(state->current, 9));
}

TEST(AssignmentMessage, ExactTextsInBothWordings) {
    EXPECT_EQ(assignmentMessage(AssignOutcome::LeftClickRequired, 1), u"请保留至少一个键为\"单击\"功能!");
    EXPECT_EQ(assignmentMessage(AssignOutcome::LeftClickRequired, 0), u"At least one button must be configured as 'Left click'!");
    EXPECT_EQ(assignmentMessage(AssignOutcome::SniperOnWheel, 1), u"此按键不可使用狙击功能!");
    EXPECT_EQ(assignmentMessage(AssignOutcome::SniperOnWheel, 0), u"This key can not use the sniper function!");
    EXPECT_FALSE(assignmentMessage(AssignOutcome::AdvancedOnLeftKey, 0).empty());
    EXPECT_FALSE(assignmentMessage(AssignOutcome::AdvancedOnLeftKey, 1).empty());
    EXPECT_NE(assignmentMessage(AssignOutcome::AdvancedOnLeftKey, 0), assignmentMessage(AssignOutcome::AdvancedOnLeftKey, 1));
    EXPECT_TRUE(assignmentMessage(AssignOutcome::Stored, 0).empty());
}

TEST(CombinationLabel, ModifiersInFixedOrderThenTheKey) {
    test::FakeKeyboardLayout layout;
    struct Case {
        uint32_t code;
        int language;
        std::u16string_view label;
    };
    const Case cases[] = {
        {0x00160300, kEnglish, u"Shift + Ctrl + S"},
        {0x003E0000, kEnglish, u"F5"},
        {0x00E00000, kEnglish, u"LCtrl"},
        {0x00040F00, kEnglish, u"Shift + Ctrl + Alt + Win + A"},
        {0x00280C00, kEnglish, u"Alt + Win + Enter"},
        {0x00580000, kEnglish, u"Enter"},
        {0x00320000, kEnglish, u""},
        {0x00320400, kEnglish, u"Alt + "},
        {0x00040000, 3, u"Q"},
        {0x001C0000, 5, u"Z"},
        {0x00620100, kEnglish, u"Ctrl + (0)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(combinationLabel(c.code, c.language, layout), c.label) << std::hex << c.code;
}

}  // namespace
}  // namespace q30x
