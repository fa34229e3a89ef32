#include "i18n/catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "i18n/languages.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using test::textBytes;

std::string entry(std::string_view xml, std::string_view key) {
    XmlDocument document;
    document.Load(textBytes(xml));
    return toUtf8(StringCatalogue::GetEntry(document, "config", key));
}

TEST(GetEntry, SearchRule) {
    struct Case {
        const char* xml;
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {"<lang><config><str_ok>OK</str_ok></config></lang>", "str_ok", "OK"},
        {"<lang><x/><config a='1'><other/><str_ok>OK</str_ok></config></lang>", "str_ok", "OK"},
        // The root itself is not searched.
        {"<config><str_ok>OK</str_ok></config>", "str_ok", ""},
        // The first config wins; a key it lacks is not taken from the second.
        {"<l><config><str_ok>1</str_ok></config><config><str_ok>2</str_ok></config></l>", "str_ok", "1"},
        {"<l><config><a>1</a></config><config><str_ok>2</str_ok></config></l>", "str_ok", ""},
        // ... but from a config nested inside the first one.
        {"<l><config><a>1</a><config><str_ok>3</str_ok></config></config></l>", "str_ok", "3"},
        {"<l><str_ok>top</str_ok></l>", "str_ok", ""},
        {"<l><config><str_OK>x</str_OK></config></l>", "str_ok", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(entry(c.xml, c.key), c.text) << c.xml;
}

TEST(HintEntry, MapsHintNumbersToEntries) {
    struct Case {
        int hint;
        const char* key;  // nullptr: not a catalogue entry
    };
    const Case cases[] = {
        {1, "str_main"}, {18, "str_rollerScreen"}, {19, nullptr}, {25, nullptr}, {26, "str_ledspe"},
        {55, "str_resetSts"}, {56, "str_update"}, {57, "str_tarvoWeb"}, {58, "str_importFile"},
        {59, "str_exportFile"}, {60, "str_defaultname"}, {61, "str_dpi_setting"}, {90, "str_firmware_version"},
        {0, nullptr}, {91, nullptr}, {99, nullptr}, {-1, nullptr},
    };
    for (const auto& c : cases) {
        std::size_t index = hintEntry(c.hint);
        if (c.key) EXPECT_EQ(index, catalogueIndex(c.key)) << c.hint;
        else EXPECT_EQ(index, kCatalogueKeys.size()) << c.hint;
    }
}

TEST(LoadCatalogue, FillsEveryEntryAndMarksMissingKeys) {
    test::TempFolder temp;
    test::writeAll(temp.file("l.xml"), textBytes("<l><config><str_main>Main</str_main><str_ok></str_ok></config></l>"));
    StringCatalogue strings;
    strings.setEntry(catalogueIndex("str_msg2"), u"stale");
    EXPECT_TRUE(strings.LoadCatalogue(temp.file("l.xml")));
    EXPECT_EQ(strings.text("str_main"), u"Main");
    EXPECT_TRUE(strings.found(catalogueIndex("str_ok")));
    EXPECT_EQ(strings.text("str_ok"), u"");
    EXPECT_FALSE(strings.found(catalogueIndex("str_msg2")));
    EXPECT_EQ(strings.text("str_msg2"), u"");

    EXPECT_FALSE(strings.LoadCatalogue(temp.file("absent.xml")));
    EXPECT_EQ(strings.text("str_main"), u"");  // no fall-back to the earlier language
}

// The shipped files: every key present and non-empty, one "%s" in str_msg2
// and none elsewhere, and the three encodings the reader must handle.
TEST(LanguageFiles, AllTwelveAreComplete) {
    std::set<XmlDocument::Mark> marks;
    for (const auto& language : kLanguages) {
        SCOPED_TRACE(std::string(language.file));
        StringCatalogue strings;
        ASSERT_TRUE(strings.LoadCatalogue(joinPath(Q30X_DATA_DIR, std::string(language.file))));
        EXPECT_TRUE(strings.document().wellFormed()) << strings.document().result();
        marks.insert(strings.document().mark());
        for (std::size_t i = 0; i < kCatalogueKeys.size(); ++i) {
            const std::u16string& text = strings.entry(i);
            EXPECT_TRUE(strings.found(i)) << kCatalogueKeys[i];
            EXPECT_FALSE(text.empty()) << kCatalogueKeys[i];
            EXPECT_EQ(text.find(u'\uFFFD'), std::u16string::npos) << kCatalogueKeys[i];
            std::size_t first = text.find(u"%s");
            bool once = first != std::u16string::npos && text.find(u"%s", first + 1) == std::u16string::npos;
            if (kCatalogueKeys[i] == "str_msg2") EXPECT_TRUE(once) << toUtf8(text);
            else EXPECT_EQ(text.find(u'%'), std::u16string::npos) << kCatalogueKeys[i];
        }
    }
    EXPECT_EQ(marks, (std::set<XmlDocument::Mark>{XmlDocument::Mark::None, XmlDocument::Mark::Utf8,
                                                   XmlDocument::Mark::Utf16Le}));
}

TEST(LanguageFiles, FrenchEntitiesKeepTheirCase) {
    StringCatalogue strings;
    ASSERT_TRUE(strings.LoadCatalogue(joinPath(Q30X_DATA_DIR, "Language/fre.xml")));
    EXPECT_EQ(strings.text("str_led_title"), u"Éclairage");
    EXPECT_EQ(strings.text("str_led_brightness"), u"Luminosité");
    EXPECT_EQ(strings.text("str_cur_function"), u"Actuel : ");
}

}  // namespace
}  // namespace q30x

namespace q30x {
namespace {

TEST(CatalogueMessages, FileErrorsAreNeverAnEmptyBox) {
    StringCatalogue strings;
    for (const char* key : {"str_msg2", "str_msg4", "str_msg5"}) EXPECT_FALSE(strings.messageText(key).empty()) << key;
    EXPECT_NE(strings.messageText("str_msg2").find(u"%s"), std::u16string_view::npos);
    strings.setEntry(catalogueIndex("str_msg4"), u"Zugriff verweigert.");
    EXPECT_EQ(strings.messageText("str_msg4"), u"Zugriff verweigert.");
    EXPECT_TRUE(strings.messageText("str_main").empty());  // only the file-error texts have a stand-in
}

}  // namespace
}  // namespace q30x
