#include "buttons/function_names.h"

#include <gtest/gtest.h>
#include <set>

namespace q30x {
namespace {

TEST(FunctionName, PicksTheWordingByTheChineseFlagAlone) {
    struct Case {
        int32_t type;
        std::u16string_view chinese, english;
    };
    const Case cases[] = {
        {1, u"单击", u"Click"},         {11, u"滚轮前滚", u"Scroll up"},   {32, u"播放/暂停", u"Play/Pause"},
        {121, u"禁用按键", u"Disable key"}, {126, u"放大", u"sreen zoom in"}, {142, u"狙击键", u"SNIPE"},
        {143, u"火力", u"FIRE"},        {123, u"进入传统界面", u"Enter classic desktop"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(functionName(c.type, 1), c.chinese) << c.type;
        EXPECT_EQ(functionName(c.type, 0), c.english) << c.type;
    }
}

TEST(FunctionName, UnlistedTypesHaveNoName) {
    for (int32_t type : {0, 3, 5, 6, 19, 36, 83, 122, 144, -1}) {
        EXPECT_TRUE(functionName(type, 0).empty()) << type;
        EXPECT_TRUE(functionName(type, 1).empty()) << type;
    }
}

TEST(FunctionName, TableHasTwentySevenDistinctTypes) {
    std::set<int32_t> types;
    for (const auto& name : kFunctionNames) types.insert(name.type);
    EXPECT_EQ(types.size(), std::size(kFunctionNames));
    EXPECT_EQ(types.size(), 27u);
}

TEST(LabelTranslation, SwapsOnlyTheSevenDefaultNames) {
    struct Case {
        std::u16string_view label;
        int chineseUi;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"单击", 0, u"Click"},        {u"Click", 1, u"单击"},       {u"Scroll down", 1, u"滚轮后滚"},
        {u"菜单", 0, u"Menu"},         {u"Click", 0, u"Click"},      {u"单击", 1, u"单击"},
        {u"click", 1, u"click"},       {u"Click ", 1, u"Click "},    {u"Play/Pause", 1, u"Play/Pause"},
        {u"播放/暂停", 0, u"播放/暂停"}, {u"", 1, u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(labelTranslation(c.label, c.chineseUi), c.expected) << "chineseUi " << c.chineseUi;
}

TEST(LabelTranslation, HintLineUsesOnlyTheInputsOwnPair) {
    EXPECT_EQ(labelTranslationForInput(u"单击", 0, 0), u"Click");
    EXPECT_EQ(labelTranslationForInput(u"单击", 1, 0), u"单击");  // input 1's pair is Middle
    EXPECT_EQ(labelTranslationForInput(u"Middle", 1, 1), u"中键");
    EXPECT_EQ(labelTranslationForInput(u"Menu", 2, 1), u"菜单");
    EXPECT_EQ(labelTranslationForInput(u"Scroll down", 6, 1), u"滚轮后滚");
    EXPECT_EQ(labelTranslationForInput(u"Scroll down", 5, 1), u"Scroll down");
}

}  // namespace
}  // namespace q30x
