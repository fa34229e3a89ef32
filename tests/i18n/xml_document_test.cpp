#include "i18n/xml_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/xml_entities.h"
#include "platform/ascii.h"
#include "platform/utf16.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using test::textBytes;

std::vector<uint8_t> utf16(std::u16string_view text, bool bigEndian, bool withMark = true) {
    std::vector<uint8_t> out;
    if (withMark) out = bigEndian ? std::vector<uint8_t>{0xFE, 0xFF} : std::vector<uint8_t>{0xFF, 0xFE};
    for (char16_t c : text) {
        uint8_t low = static_cast<uint8_t>(c & 0xFF), high = static_cast<uint8_t>(c >> 8);
        out.push_back(bigEndian ? high : low);
        out.push_back(bigEndian ? low : high);
    }
    return out;
}

std::vector<uint8_t> utf32le(std::string_view ascii) {
    std::vector<uint8_t> out;
    for (char c : ascii) out.insert(out.end(), {static_cast<uint8_t>(c), 0, 0, 0});
    return out;
}

// The text of the element reached by stepping through `path` from the root.
std::string textAt(XmlDocument& document, std::vector<std::u16string> path) {
    document.Rewind();
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (!document.FindChild(path[i])) return "<missing " + toUtf8(path[i]) + ">";
        if (i + 1 < path.size()) document.EnterChild();
    }
    return toUtf8(document.ChildText());
}

TEST(XmlDocument, TextOfElements) {
    struct Case {
        const char* xml;
        std::vector<std::u16string> path;  // below the root element
        const char* text;
    };
    const Case cases[] = {
        {"<r><a>x &amp; &#65;&#x42; &bogus; &</a></r>", {u"a"}, "x & AB &bogus; &"},
        {"<r><a>one<![CDATA[<two>]]><!-- c -->three</a></r>", {u"a"}, "one<two>three"},
        {"<r><a><![CDATA[x &amp; <y>]]></a></r>", {u"a"}, "x &amp; <y>"},
        {"<r><a><b>t</b></a></r>", {u"a"}, ""},
        {"<r><a><b>t</b></a></r>", {u"a", u"b"}, "t"},
        {"<r><a>  spaced\n text  </a></r>", {u"a"}, "  spaced\n text  "},
        {"<r><a/><b>t</b></r>", {u"a"}, ""},
        {"<r><a href=x/>t</a></r>", {u"a"}, "t"},
        {"<r><a t=\"x>y\" u='/'>v</a></r>", {u"a"}, "v"},
        {"<r><a>p<?pi ?>q</a></r>", {u"a"}, "pq"},
        {"<r><a>1 < 2</a></r>", {u"a"}, "1 < 2"},
        {"<?xml version=\"1.0\"?><!DOCTYPE r [<!ELEMENT r ANY>]><!-- x --><r><a>v</a></r>", {u"a"}, "v"},
        {"<r><A>upper</A><a>lower</a></r>", {u"a"}, "lower"},
        // The element that is not ended keeps only its start tag.
        {"<r><c><k>v</c></r>", {u"c", u"k"}, ""},
    };
    for (const auto& c : cases) {
        XmlDocument document;
        document.Load(textBytes(c.xml));
        EXPECT_EQ(textAt(document, c.path), c.text) << c.xml;
    }
}

TEST(XmlDocument, RepairsKeepTheIndexSearchable) {
    struct Case {
        const char* xml;
        const char* problem;
        std::vector<std::u16string> path;
        const char* text;
    };
    const Case cases[] = {
        {"<r><c><k>v</c><d>w</d></r>", "End tag 'c' at offset 10 does not match start tag 'k'", {u"d"}, "w"},
        {"<r><a>x</a></b><c>y</c></r>", "No start tag for end tag 'b' at offset 11", {u"c"}, "y"},
        {"<r><a>x</a></r><s><b>y</b></s>", "Root element has sibling", {u"a"}, "x"},
        {"<r><a>x</a></r><!-- never closed", "Comment at offset 15 unterminated", {u"a"}, "x"},
        {"<r><a>x</a>< b/></r>", "Incorrect tag name character at offset 11", {u"a"}, "x"},
        // The children of an element that is not ended follow it in its parent.
        {"<r><c><k><x>1</x><y>2</y></c></r>", "does not match start tag 'k'", {u"c", u"y"}, "2"},
    };
    for (const auto& c : cases) {
        XmlDocument document;
        EXPECT_FALSE(document.Load(textBytes(c.xml))) << c.xml;
        EXPECT_FALSE(document.wellFormed());
        EXPECT_NE(document.result().find(c.problem), std::string::npos) << document.result();
        EXPECT_EQ(textAt(document, c.path), c.text) << c.xml;
    }
}

// A truncated file: the root is not ended, so its children become top-level
// elements and nothing is found below the root any more.
TEST(XmlDocument, TruncatedDocumentLosesItsRoot) {
    XmlDocument document;
    EXPECT_FALSE(document.Load(textBytes("<r><config><a>x</a></config>")));
    EXPECT_NE(document.result().find("Element 'r' not ended"), std::string::npos) << document.result();
    EXPECT_EQ(textAt(document, {u"config", u"a"}), "<missing config>");
    document.Rewind();
    EXPECT_TRUE(document.FindElement(u"config"));  // now a sibling of the root
}

// A hostile file: a long chain of elements that are never closed. Every one
// of them ends up a top-level element after the root, in document order.
TEST(XmlDocument, LongUnclosedChainIsFlattened) {
    std::string xml = "<r>";
    for (int i = 0; i < 100000; ++i) xml += "<a><b/>";
    XmlDocument document;
    EXPECT_FALSE(document.Load(textBytes(xml)));
    EXPECT_EQ(document.elementCount(), 200001u);
    document.Rewind();
    int topLevel = 0;
    while (document.FindElement()) ++topLevel;
    EXPECT_EQ(topLevel, 200001);
}

// Another: a deep open stack met by many end tags that match nothing.
TEST(XmlDocument, UnmatchedEndTagsUnderADeepStack) {
    std::string xml = "<r>";
    for (int i = 0; i < 50000; ++i) xml += "<a>";
    for (int i = 0; i < 50000; ++i) xml += "</z>";
    xml += "</r>";
    XmlDocument document;
    EXPECT_FALSE(document.Load(textBytes(xml)));
    EXPECT_NE(document.result().find("No start tag for end tag 'z' at offset 150003"), std::string::npos)
        << document.result();
    EXPECT_EQ(document.elementCount(), 50001u);
}

TEST(XmlDocument, WellFormedDocumentLoadsTrue) {
    XmlDocument document;
    EXPECT_TRUE(document.Load(textBytes("<?xml version=\"1.0\"?>\n<r>\n  <a>x</a>\n  <e/><f a='1' />\n</r>\n")))
        << document.result();
    EXPECT_EQ(document.elementCount(), 4u);
}

TEST(XmlDocument, Navigation) {
    XmlDocument document;
    document.Load(textBytes("<r><a>1</a><b>2</b><a>3</a><b><a>4</a></b></r>"));
    document.Rewind();
    EXPECT_TRUE(document.FindElement(u"r"));
    EXPECT_FALSE(document.FindElement(u"r"));  // no second top-level element
    EXPECT_TRUE(document.FindChild(u"a"));
    EXPECT_EQ(toUtf8(document.ChildText()), "1");
    EXPECT_TRUE(document.FindChild(u"a"));  // searches on after the child position
    EXPECT_EQ(toUtf8(document.ChildText()), "3");
    EXPECT_FALSE(document.FindChild(u"a"));
    EXPECT_EQ(toUtf8(document.ChildText()), "3");  // a failed search keeps the position
    EXPECT_TRUE(document.FindChild(u"b"));
    EXPECT_TRUE(document.EnterChild());  // into the second b
    EXPECT_TRUE(document.FindChild(u"a"));
    EXPECT_EQ(toUtf8(document.ChildText()), "4");
    document.Rewind();
    EXPECT_TRUE(document.FindChild());  // any element: the first child of the root
    EXPECT_EQ(toUtf8(document.ChildText()), "1");
    EXPECT_FALSE(document.FindElement());  // the root is current and nothing follows it
    document.Rewind();
    EXPECT_FALSE(document.EnterChild());
}

TEST(XmlDocument, EmptyAndUnreadableDocumentsFindNothing) {
    test::TempFolder temp;
    const std::vector<std::vector<uint8_t>> inputs = {{}, textBytes("just text"), {0xEF, 0xBB, 0xBF}, {0xFF, 0xFE, 0x00}};
    for (const auto& input : inputs) {
        XmlDocument document;
        EXPECT_FALSE(document.Load(input));
        document.Rewind();
        EXPECT_FALSE(document.FindChild(u"a"));
        EXPECT_FALSE(document.FindElement());
        EXPECT_EQ(document.ChildText(), u"");
    }
    XmlDocument document;
    document.Load(textBytes("<r><a>old</a></r>"));
    EXPECT_FALSE(document.LoadFile(temp.file("absent.xml")));
    EXPECT_EQ(document.fileError(), FileError::NotFound);
    EXPECT_EQ(textAt(document, {u"a"}), "<missing a>");  // the earlier content is gone
}

TEST(XmlDocument, EncodingsFromRealBytes) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* text;
        XmlDocument::Mark mark;
    };
    std::vector<uint8_t> withMark = textBytes("\xEF\xBB\xBF<r><a>caf\xC3\xA9</a></r>");
    std::vector<uint8_t> gbk = textBytes("<?xml version=\"1.0\" encoding=\"gb2312\"?><r><a>\xD6\xD0\xCE\xC4</a></r>");
    std::vector<uint8_t> cp1251 =
        textBytes("<?xml version='1.0' encoding='windows-1251'?><r><a>\xCF\xF0\xE8\xE2\xE5\xF2</a></r>");
    const Case cases[] = {
        {"UTF-8 with mark", withMark, "café", XmlDocument::Mark::Utf8},
        {"UTF-8 without mark", textBytes("<r><a>caf\xC3\xA9</a></r>"), "café", XmlDocument::Mark::None},
        {"UTF-16LE with mark", utf16(u"<r><a>한국어 €</a></r>", false), "한국어 €", XmlDocument::Mark::Utf16Le},
        {"UTF-16BE with mark", utf16(u"<r><a>Привет</a></r>", true), "Привет", XmlDocument::Mark::Utf16Be},
        {"UTF-16LE without mark", utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><r><a>한국어 €</a></r>", false, false),
         "한국어 €", XmlDocument::Mark::None},
        {"UTF-16BE without mark", utf16(u"\r\n<r><a>Привет</a></r>", true, false), "Привет", XmlDocument::Mark::None},
        {"UTF-32LE without mark keeps its ASCII", utf32le("<r><a>v</a></r>"), "v", XmlDocument::Mark::None},
        {"gb2312 declared, GBK bytes", gbk, "中文", XmlDocument::Mark::None},
        {"windows-1251 declared", cp1251, "Привет", XmlDocument::Mark::None},
        {"undeclared, not UTF-8: ANSI", textBytes("\n<r><a>caf\xE9 \x80</a></r>"), "café €", XmlDocument::Mark::None},
        {"undeclared, passes the UTF-8 test", textBytes("\n<r><a>\xE2\x82\xAC</a></r>"), "€", XmlDocument::Mark::None},
        {"unknown charset: ANSI", textBytes("<?xml encoding=\"x-no-such\"?><r><a>\xE9</a></r>"), "é",
         XmlDocument::Mark::None},
        {"charset without a converter: ANSI", textBytes("<?xml encoding=\"x-iscii-de\"?><r><a>\xE9</a></r>"), "é",
         XmlDocument::Mark::None},
        {"NUL bytes are dropped", textBytes(std::string("<r><a>a\0b</a></r>", 17)), "ab", XmlDocument::Mark::None},
        {"declaration names compared without case", textBytes("<?XML version=\"1.0\" encoding=\"KOI8-R\"?><r><a>\xF0</a></r>"),
         "П", XmlDocument::Mark::None},
    };
    for (const auto& c : cases) {
        XmlDocument document;
        document.Load(c.bytes);
        EXPECT_EQ(textAt(document, {u"a"}), c.text) << c.name << ": " << document.result();
        EXPECT_EQ(document.mark(), c.mark) << c.name;
    }
}

TEST(XmlDocument, ResultTextNotesTheEncodingPath) {
    XmlDocument document;
    document.Load(utf16(std::u16string(u"<r>\0x</r>", 9), true));
    EXPECT_NE(document.result().find("UTF-16 BOM + "), std::string::npos) << document.result();
    EXPECT_NE(document.result().find("endian swap "), std::string::npos);
    document.Load(textBytes("\n<r>\xE9</r>"));
    EXPECT_NE(document.result().find("ANSI "), std::string::npos) << document.result();
    document.Load(textBytes("\n<r>x</r>"));
    EXPECT_NE(document.result().find("(used UTF-8 detection) "), std::string::npos) << document.result();
}

TEST(XmlReferences, Resolution) {
    struct Case {
        std::u16string in, out;
    };
    const Case cases[] = {
        {u"&eacute;&Eacute;&EACUTE;&eAcute;", u"éÉÉÉ"},  // exact name first, then the capitalised one
        {u"&dagger;&Dagger;&DAGGER;", u"†‡‡"},
        {u"&rarr;&rArr;&RARR;", u"→⇒⇒"},
        {u"&AMP;&Lt;&apos;&nbsp;&euro;&thetasym;", u"&<'\u00A0€ϑ"},
        {u"&#x1F600;", u"\U0001F600"},
        {u"&#128512;&#X41;&#65x;", u"\U0001F600AA"},  // digits as far as they go
        {u"&#0;&#x110000;&#xD800;&#;&#x;", u"&#0;&#x110000;&#xD800;&#;&#x;"},
        {u"&thetasyms;&abcdefghij;", u"&thetasyms;&abcdefghij;"},  // unknown, and no ';' within nine
        {u"&é;&amp", u"&é;&amp"},
        {u"&&amp;;", u"&&;"},
    };
    for (const auto& c : cases) EXPECT_EQ(resolveReferences(c.in), c.out) << toUtf8(c.in);
}

TEST(XmlReferences, TableHoldsTheHtml4NamesAndApos) {
    auto table = namedReferences();
    EXPECT_EQ(table.size(), 253u);
    std::size_t casePairs = 0;
    for (const auto& a : table)
        for (const auto& b : table)
            if (&a < &b && equalIgnoringAsciiCase(a.name, b.name)) ++casePairs;
    EXPECT_EQ(casePairs, 64u);
    EXPECT_EQ(namedReference("hearts"), U'♥');
    EXPECT_EQ(namedReference("nope"), 0u);
}

}  // namespace
}  // namespace q30x
