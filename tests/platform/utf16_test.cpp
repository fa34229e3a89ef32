#include "platform/utf16.h"

#include <gtest/gtest.h>

namespace q30x {
namespace {

TEST(FixedText, StoresCutAndZeroFilled) {
    char16_t units[6];
    std::fill(std::begin(units), std::end(units), u'x');
    setFixedText(units, u"abcdefgh");
    EXPECT_EQ(fixedText(units), u"abcde");
    EXPECT_EQ(units[5], u'\0');

    setFixedText(units, u"ab");
    EXPECT_EQ(fixedText(units), u"ab");
    for (int i = 2; i < 6; ++i) EXPECT_EQ(units[i], u'\0') << i;
}

TEST(FixedText, CutNeverSplitsASurrogatePair) {
    char16_t units[4];
    setFixedText(units, u"ab\U0001F600");  // the pair would need units 2 and 3, the terminator a fifth
    EXPECT_EQ(fixedText(units), u"ab");
}

TEST(FixedText, ArrayWithoutTerminatorReadsWhole) {
    char16_t units[3] = {u'a', u'b', u'c'};
    EXPECT_EQ(fixedText(units), u"abc");
}

TEST(Utf8, RoundTripsEveryPlane) {
    std::u16string text = u"Click 单击 É \U0001F5B1";
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(toUtf8(u"É"), "\xC3\x89");
}

TEST(Utf8, InvalidInputBecomesReplacementCharacters) {
    struct Case {
        const char* name;
        std::string bytes;
        std::u16string expected;
    };
    const Case cases[] = {
        {"lone continuation", "a\x80z", u"a\uFFFDz"},
        {"truncated lead", "a\xE4\xB8", u"a\uFFFD\uFFFD"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"invalid lead", "\xFF", u"\uFFFD"},
    };
    for (const auto& c : cases) EXPECT_EQ(fromUtf8(c.bytes), c.expected) << c.name;
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(FormatText, ReplacesOnlyTheFirstPlaceholder) {
    EXPECT_EQ(formatText(u"open %s failed", u"/a/b"), u"open /a/b failed");
    EXPECT_EQ(formatText(u"%s and %s", u"x"), u"x and %s");
    EXPECT_EQ(formatText(u"100% sure", u"x"), u"100% sure");
}

}  // namespace
}  // namespace q30x
