#include "i18n/xml_encoding.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/charset.h"

namespace q30x {
namespace {

TEST(Charsets, NamesGiveTheirCodePages) {
    struct Case {
        const char* name;
        int codePage;
    };
    const Case cases[] = {
        {"utf-8", 65001}, {"UNICODE-1-1-UTF-8", 65001}, {"utf-7", 65000}, {"utf-16", 1200}, {"unicode", 1200},
        {"unicodeFFFE", 1201}, {"windows-1250", 1250}, {"Windows-1258", 1258}, {"iso-8859-1", 28591},
        {"LATIN1", 28591}, {"iso-8859-2", 28592}, {"iso-8859-9", 28599}, {"iso-8859-15", 28605},
        {"us-ascii", 20127}, {"ascii", 20127}, {"gb2312", 936}, {"GBK", 936}, {"big5", 950},
        {"shift_jis", 932}, {"euc-kr", 949}, {"ks_c_5601-1987", 949}, {"euc-jp", 51932}, {"koi8-r", 20866},
        {"koi8-u", 21866}, {"iso-2022-jp", 50220}, {"macintosh", 10000}, {"UTF-32", 65005},
        {"utf-32BE", 65005}, {"", 1252}, {"no-such-charset", 0}, {"utf-8 ", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(codePageOfCharset(c.name), c.codePage) << c.name;
    EXPECT_EQ(codePageOfCharset(std::string(100, 'a')), 0);
}

TEST(Charsets, NamesAreUniqueWithoutRegardToCase) {
    std::set<std::string> seen;
    for (const auto& alias : charsetAliases()) {
        std::string key(alias.name);
        for (auto& c : key) c = static_cast<char>(std::tolower(c));
        EXPECT_TRUE(seen.insert(key).second) << alias.name;
    }
}

// Every converter the table names must exist in the C library, or its files
// would silently be read as ANSI.
TEST(Charsets, EveryConverterIsAvailable) {
    const uint8_t letter[] = {0x41};
    for (const auto& converter : codePageCharsets())
        EXPECT_TRUE(convertToUtf16(std::string(converter.iconvName), letter).has_value()) << converter.iconvName;
    EXPECT_FALSE(convertToUtf16("NO-SUCH-CHARSET", letter).has_value());
}

TEST(Charsets, BadBytesBecomeReplacementCharacters) {
    const uint8_t cut[] = {'a', 0xE4, 0xB8};  // a UTF-8 sequence cut short
    EXPECT_EQ(convertToUtf16("UTF-8", cut), std::u16string(u"a\uFFFD"));
    const uint8_t bad[] = {'a', 0xFF, 'b'};
    EXPECT_EQ(convertToUtf16("EUC-KR", bad), std::u16string(u"a\uFFFDb"));
    const uint8_t ansi[] = {0x80, 0x81, 0x9F, 0xE9};
    EXPECT_EQ(decodeCodePage(ansi, 1252).text, u"€\u0081Ÿé");
}

TEST(Utf8Test, LooseSequenceRule) {
    struct Case {
        std::vector<uint8_t> bytes;
        bool passes;
    };
    const Case cases[] = {
        {{'a', 'b'}, true},
        {{0xC3, 0xA9}, true},
        {{0xE2, 0x82, 0xAC}, true},
        {{0xF0, 0x9F, 0x98, 0x80}, true},
        {{0xE9, ' '}, false},               // cut short by a byte below 0x80
        {{0xC3}, false},                    // cut short by the end
        {{0xF8, 0x80, 0x80, 0x80}, false},  // bits 5, 4 and 3 set
        {{0xC3, 0xA9, 0, 0xE9}, true},      // the test stops at the first 0
    };
    for (const auto& c : cases) EXPECT_EQ(passesUtf8Test(c.bytes), c.passes) << c.bytes.size();
}

}  // namespace
}  // namespace q30x
