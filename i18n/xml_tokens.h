#pragma once
#include <cstddef>
#include <string_view>

namespace q30x {

enum class XmlNodeKind {
    Text,
    Whitespace,
    StartTag,
    EndTag,
    ProcessingInstruction,
    Comment,
    CData,
    Doctype,
    Incorrect,     // a "<" that starts nothing valid; it counts as text
    Unterminated,  // a construct that runs to the end of the text
    End,
};

struct XmlToken {
    XmlNodeKind kind = XmlNodeKind::End;
    std::size_t start = 0;   // offset of the node in the text
    std::size_t length = 0;  // the whole node
    std::size_t nameStart = 0, nameLength = 0;  // tags only
    bool empty = false;                         // a start tag closed with "/>"
    const char* problem = nullptr;              // Incorrect: what; Unterminated: which construct
};

// Splits a range of the document text into nodes, one per call.
class XmlTokenizer {
public:
    XmlTokenizer(std::u16string_view text, std::size_t from, std::size_t to)
        : text_(text.substr(0, to)), pos_(from) {}

    XmlToken next();

private:
    XmlToken tag(std::size_t start, bool endTag);
    XmlToken until(std::size_t start, std::size_t from, std::u16string_view terminator, XmlNodeKind kind,
                   const char* construct);
    XmlToken doctype(std::size_t start);
    XmlToken finish(XmlToken token);

    std::u16string_view text_;
    std::size_t pos_;
};

inline bool isXmlSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

}  // namespace q30x
