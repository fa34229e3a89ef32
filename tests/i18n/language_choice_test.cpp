#include "i18n/language_choice.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/utf16.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using test::readAll;
using test::writeAll;

using test::textBytes;
std::vector<uint8_t> le32(int32_t n) {
    std::vector<uint8_t> out(4);
    test::putU32(out, 0, static_cast<uint32_t>(n));
    return out;
}

// A program folder whose language files name their language in str_main.
class LanguageChoiceTest : public ::testing::Test {
protected:
    LanguageChoiceTest() {
        for (const auto& language : kLanguages)
            writeAll(joinPath(folders.program, std::string(language.file)),
                     textBytes("<l><config><str_main>" + std::string(language.file) +
                           "</str_main><str_msg2>missing %s</str_msg2><str_msg5>denied</str_msg5></config></l>"));
        std::filesystem::create_directories(folders.working);
    }
    std::string choiceFile() const { return joinPath(folders.working, "Language.cfg"); }
    LanguageActions apply(uint32_t wParam, int32_t number, bool popupOpen) {
        return applyLanguage(context, wParam, number, popupOpen);
    }

    test::TempFolder temp;
    Folders folders{temp.file("program"), temp.file("work")};
    test::RecordedMessages messages;
    LanguageState language;
    StringCatalogue strings;
    LanguageContext context{folders, messages, language, strings};
};

TEST_F(LanguageChoiceTest, ReadingLanguageCfg) {
    struct Case {
        const char* name;
        std::vector<uint8_t> content;  // empty name below: no file
        bool present;
        int32_t number;
    };
    const Case cases[] = {
        {"stored 5", le32(5), true, 5},
        {"stored 0", le32(0), true, 0},
        {"outside the table", le32(40), true, 40},
        {"short file reads zero-filled", {7, 0}, true, 7},
        {"missing file", {}, false, 1},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(choiceFile());
        messages.shown.clear();
        if (c.present) writeAll(choiceFile(), c.content);
        EXPECT_EQ(readLanguageChoice(folders, messages), c.number) << c.name;
        if (c.present) {
            EXPECT_TRUE(messages.shown.empty()) << c.name;
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text, "Failed to open file, check whether there is a " + choiceFile() + " path?");
            EXPECT_TRUE(messages.shown[0].skinned);
        }
    }
    // Opened but unreadable: 1 without a message.
    std::filesystem::remove(choiceFile());
    std::filesystem::create_directory(choiceFile());
    messages.shown.clear();
    EXPECT_EQ(readLanguageChoice(folders, messages), 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LanguageChoiceTest, ApplyingALanguage) {
    LanguageActions a = apply(kLanguageAtStartUp, 1, false);
    EXPECT_FALSE(a.ignored);
    EXPECT_EQ(a.flagBitmap, 142);
    EXPECT_TRUE(a.refreshLabels);
    EXPECT_FALSE(a.closePopup);
    EXPECT_EQ(language.chineseUi, 1);
    EXPECT_EQ(language.languageNumber, 1);
    EXPECT_EQ(strings.text("str_main"), u"Language/sc.xml");
    EXPECT_EQ(readAll(choiceFile()), le32(1));

    // From the popup: Traditional Chinese clears chineseUi; the popup closes.
    a = apply(0, 12, true);
    EXPECT_EQ(a.flagBitmap, 153);
    EXPECT_TRUE(a.closePopup && a.forgetPopup && a.refreshLabels);
    EXPECT_EQ(language.chineseUi, 0);
    EXPECT_EQ(language.languageNumber, 12);
    EXPECT_EQ(strings.text("str_main"), u"Language/tw.xml");
    EXPECT_EQ(readAll(choiceFile()), le32(12));
}

TEST_F(LanguageChoiceTest, NumbersOutsideTheTable) {
    apply(kLanguageAtStartUp, 1, false);
    // Outside 1..12: no text changes, chineseUi cleared, number kept, written back.
    LanguageActions a = apply(kLanguageAtStartUp, 13, false);
    EXPECT_EQ(a.flagBitmap, 0);
    EXPECT_TRUE(a.refreshLabels);
    EXPECT_EQ(language.chineseUi, 0);
    EXPECT_EQ(language.languageNumber, 1);
    EXPECT_EQ(strings.text("str_main"), u"Language/sc.xml");
    EXPECT_EQ(readAll(choiceFile()), le32(13));

    // 0 is the popup's closing notice: it only forgets the popup.
    language.chineseUi = 1;
    a = apply(kLanguageAtStartUp, 0, true);
    EXPECT_TRUE(a.forgetPopup);
    EXPECT_FALSE(a.refreshLabels || a.closePopup);
    EXPECT_EQ(language.chineseUi, 1);
    EXPECT_EQ(readAll(choiceFile()), le32(13));

    // Without the popup and not at start-up the message is ignored.
    a = apply(0, 3, false);
    EXPECT_TRUE(a.ignored);
    EXPECT_EQ(language.languageNumber, 1);
}

TEST_F(LanguageChoiceTest, WriteFailuresShowTheCatalogueMessages) {
    apply(kLanguageAtStartUp, 2, false);
    std::filesystem::remove_all(folders.working);
    apply(kLanguageAtStartUp, 2, false);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "missing " + choiceFile());
    EXPECT_EQ(messages.shown[0].caption, "Info");
    EXPECT_FALSE(messages.shown[0].skinned);
    EXPECT_EQ(language.languageNumber, 2);  // the language stays applied

    // A folder in the file's place refuses the write as access denied (also for root).
    std::filesystem::create_directories(choiceFile());
    messages.shown.clear();
    apply(kLanguageAtStartUp, 5, false);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "denied");
    EXPECT_EQ(messages.shown[0].caption, "Info");
}

TEST_F(LanguageChoiceTest, SkinTypeAtStartUp) {
    const std::string burner = joinPath(folders.program, "FWUpdate/Config.ini");
    std::filesystem::create_directories(folders.program + "/FWUpdate");
    // No languagetype.ini: the other skin set, English, Type 0.
    EXPECT_EQ(applySkinType(context), 143);
    EXPECT_EQ(language.chineseUi, 0);
    EXPECT_EQ(language.chineseSkin, 0);
    EXPECT_EQ(strings.text("str_main"), u"Language/en.xml");
    EXPECT_EQ(readAll(burner), textBytes("[Language]\nType=0\n"));

    // The burner's other settings survive; only Type changes.
    writeAll(burner, textBytes("; burner\r\n[Language]\r\nType=0\r\n[Port]\r\nSpeed=9\r\n"));
    writeAll(joinPath(folders.program, "skins/languagetype.ini"), textBytes("[languagetype]\nvalue = 1\n"));
    EXPECT_EQ(applySkinType(context), 142);
    EXPECT_EQ(language.chineseUi, 1);
    EXPECT_EQ(language.chineseSkin, 1);
    EXPECT_EQ(strings.text("str_main"), u"Language/sc.xml");
    EXPECT_EQ(readAll(burner), textBytes("; burner\r\n[Language]\r\nType=1\r\n[Port]\r\nSpeed=9\r\n"));

    // A Language.cfg choosing Chinese later leaves the skin flag alone.
    writeAll(joinPath(folders.program, "skins/languagetype.ini"), textBytes("[languagetype]\nvalue=2\n"));
    applySkinType(context);
    apply(kLanguageAtStartUp, 1, false);
    EXPECT_EQ(language.chineseSkin, 0);
    EXPECT_EQ(language.chineseUi, 1);
    EXPECT_EQ(readAll(burner), textBytes("; burner\r\n[Language]\r\nType=0\r\n[Port]\r\nSpeed=9\r\n"));
}

}  // namespace
}  // namespace q30x
