#include "platform/ini.h"

#include <gtest/gtest.h>

#include "tests/support/bytes.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using test::textBytes;

TEST(IniText, IntegerReads) {
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"[s]\nk=12\n", 12},
        {"[s]\r\nk = 12 \r\n", 12},
        {"[S]\nK=3\n", 3},            // names without regard to case
        {"  [ s ]  \n  k=4\n", 4},
        {"[s]\nk=-7\n", -7},
        {"[s]\nk=0x1F\n", 31},
        {"[s]\nk=12abc\n", 12},       // digits as far as they go
        {"[s]\nk=abc\n", 0},          // present without digits: 0, not the default
        {"[s]\nk=\"5\"\n", 5},
        {"[s]\nk=99999999999\n", static_cast<int32_t>(0)},  // wraps like the 32-bit Windows call
        {"[s]\nk=1\n[s]\nk=2\n", 1},  // the first section counts
        {"[t]\nk=1\n", -1},           // other section: default
        {"k=1\n[s]\n", -1},           // a key before any section belongs to none
        {"[s]\n;k=1\n", -1},
        {"", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(IniText(c.text).integer("s", "k", -1), c.value) << c.text;
}

TEST(IniText, SetValueKeepsTheRestOfTheFile) {
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"", "[Language]\nType=1\n"},
        {"; tool\n[Language]\nType=0\n[Port]\nSpeed=9\n", "; tool\n[Language]\nType=1\n[Port]\nSpeed=9\n"},
        {"[language]\r\n  type = 0 ; old\r\n", "[language]\r\n  type =1\r\n"},
        {"[Language]\nOther=2\n\n[Port]\n", "[Language]\nOther=2\nType=1\n\n[Port]\n"},
        {"[Language]\nOther=2", "[Language]\nOther=2\nType=1\n"},
        {"[Port]\r\nSpeed=9", "[Port]\r\nSpeed=9\r\n[Language]\r\nType=1\r\n"},
        // A file ending in a lone CR: the CR becomes the line's break, or an
        // unclosed "[Language" would turn into another section's name.
        {"\r\n[Language\r", "\r\n[Language\r\nType=1\r\n"},
        {"\r\n[Port\r", "\r\n[Port\r\n[Language]\r\nType=1\r\n"},
    };
    for (const auto& c : cases) {
        IniText ini(c.before);
        EXPECT_TRUE(ini.setValue("Language", "Type", "1"));
        EXPECT_EQ(ini.text(), c.after) << c.before;
        EXPECT_EQ(ini.integer("Language", "Type", -1), 1) << c.before;
    }
    IniText ini("[s]\nk=1\n");
    for (auto [section, key, value] : {std::tuple{"s", "k", "1\n[x]"}, {"s]", "k", "1"}, {"s", "k=", "1"}, {"", "k", "1"},
                                       {"s", ";k", "1"}})
        EXPECT_FALSE(ini.setValue(section, key, value)) << section << " " << key;
    EXPECT_EQ(ini.text(), "[s]\nk=1\n");
}

TEST(IniFiles, ReadAndWriteThroughTheFileLayer) {
    test::TempFolder temp;
    EXPECT_EQ(readIniInteger(temp.file("absent.ini"), "s", "k", 7), 7);
    EXPECT_EQ(writeIniValue(temp.file("no/folder/x.ini"), "s", "k", "1"), FileError::NotFound);

    // A UTF-16 file written by a Windows tool stays UTF-16.
    std::vector<uint8_t> wide = {0xFF, 0xFE};
    for (char c : std::string("[s]\r\nk=5\r\n")) wide.insert(wide.end(), {static_cast<uint8_t>(c), 0});
    test::writeAll(temp.file("w.ini"), wide);
    EXPECT_EQ(readIniInteger(temp.file("w.ini"), "s", "k", 0), 5);
    EXPECT_EQ(writeIniValue(temp.file("w.ini"), "s", "k", "6"), FileError::None);
    std::vector<uint8_t> expected = {0xFF, 0xFE};
    for (char c : std::string("[s]\r\nk=6\r\n")) expected.insert(expected.end(), {static_cast<uint8_t>(c), 0});
    EXPECT_EQ(test::readAll(temp.file("w.ini")), expected);

    test::writeAll(temp.file("m.ini"), textBytes("\xEF\xBB\xBF[s]\nk=2\n"));
    EXPECT_EQ(readIniInteger(temp.file("m.ini"), "s", "k", 0), 2);
    EXPECT_EQ(writeIniValue(temp.file("m.ini"), "s", "k", "3"), FileError::None);
    EXPECT_EQ(test::readAll(temp.file("m.ini")), textBytes("\xEF\xBB\xBF[s]\nk=3\n"));
}

}  // namespace
}  // namespace q30x
