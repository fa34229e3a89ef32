#include "app/hints.h"

#include <gtest/gtest.h>

#include "platform/utf16.h"

namespace q30x {
namespace {

TEST(Hints, LabelHintsRewriteADefaultNameOfTheOtherWordingInPlace) {
    struct Case {
        int hint;
        std::u16string stored;
        int chineseUi;
        std::u16string shown;
    };
    const Case cases[] = {
        {19, u"单击", 0, u"Click"},        {20, u"Middle", 1, u"中键"},
        {21, u"菜单", 0, u"Menu"},         {22, u"前进", 0, u"Forward"},
        {23, u"Back", 1, u"后退"},         {24, u"滚轮前滚", 0, u"Scroll up"},
        {25, u"Scroll down", 1, u"滚轮后滚"},
        {19, u"Click", 0, u"Click"},       // already in the current wording
        {20, u"Click", 1, u"Click"},       // another input's default name stays
        {21, u"My macro", 1, u"My macro"},  // a user's own label stays
    };
    StringCatalogue strings;
    for (const Case& c : cases) {
        ProfileRecord record{};
        const int input = c.hint - kFirstLabelHint;
        setFixedText(record.buttons[input].label, c.stored);
        EXPECT_EQ(hintText(c.hint, strings, record, c.chineseUi), c.shown) << c.hint;
        EXPECT_EQ(fixedText(record.buttons[input].label), c.shown) << "the record holds the rewrite";
    }
}

TEST(Hints, NumbersMapToTheirCatalogueEntriesAndOthersAreEmpty) {
    StringCatalogue strings;
    strings.setEntry(catalogueIndex("str_profile3"), u"Profile 3");
    strings.setEntry(catalogueIndex("str_tarvoWeb"), u"Web");
    strings.setEntry(catalogueIndex("str_ok"), u"Apply");
    ProfileRecord record{};
    EXPECT_EQ(hintText(8, strings, record, 0), u"Profile 3");
    EXPECT_EQ(hintText(11, strings, record, 0), u"Apply");
    EXPECT_EQ(hintText(57, strings, record, 0), u"Web");
    for (int other : {0, 91, 99, -1, 1000}) EXPECT_EQ(hintText(other, strings, record, 0), u"") << other;
}

}  // namespace
}  // namespace q30x
