#include "i18n/xml_tokens.h"

namespace q30x {
namespace {

bool startsElementName(char16_t c) { return (c >= u'A' && c <= u'Z') || c == u':' || c == u'_' || c > u'`'; }

bool endsName(char16_t c) {
    switch (c) {
    case u' ': case u'\t': case u'\n': case u'\r': case u'<': case u'>': case u'=': case u'\\':
    case u'/': case u'?': case u'!': case u'"': case u'\'': case u';':
        return true;
    default:
        return false;
    }
}

}  // namespace

XmlToken XmlTokenizer::finish(XmlToken token) {
    pos_ = token.start + token.length;
    return token;
}

XmlToken XmlTokenizer::next() {
    XmlToken token;
    token.start = pos_;
    if (pos_ >= text_.size()) return token;
    if (text_[pos_] != u'<') {
        std::size_t end = text_.find(u'<', pos_);
        if (end == std::u16string_view::npos) end = text_.size();
        token.kind = XmlNodeKind::Whitespace;
        for (std::size_t i = pos_; i < end; ++i)
            if (!isXmlSpace(text_[i])) token.kind = XmlNodeKind::Text;
        token.length = end - pos_;
        return finish(token);
    }
    std::size_t start = pos_;
    std::u16string_view rest = text_.substr(start);
    auto incorrect = [&](const char* what) {
        return finish({XmlNodeKind::Incorrect, start, 1, 0, 0, false, what});
    };
    if (rest.size() < 2) return finish({XmlNodeKind::Unterminated, start, rest.size(), 0, 0, false, "tag"});
    char16_t c = rest[1];
    if (c == u'/') return tag(start, true);
    if (c == u'?') return until(start, start + 2, u"?>", XmlNodeKind::ProcessingInstruction, "Processing instruction");
    if (c == u'!') {
        if (rest.size() > 2 && rest[2] == u'-') {
            if (rest.size() > 3 && rest[3] == u'-') return until(start, start + 4, u"-->", XmlNodeKind::Comment, "Comment");
            return incorrect("comment tag");
        }
        if (rest.size() > 2 && rest[2] == u'[') {
            if (rest.substr(0, 9) == u"<![CDATA[") return until(start, start + 9, u"]]>", XmlNodeKind::CData, "CDATA Section");
            return incorrect("tag");
        }
        if (rest.size() > 2 && rest[2] == u'D') return doctype(start);
        return incorrect("! tag");
    }
    if (startsElementName(c)) return tag(start, false);
    return incorrect("tag name character");
}

XmlToken XmlTokenizer::until(std::size_t start, std::size_t from, std::u16string_view terminator, XmlNodeKind kind,
                             const char* construct) {
    std::size_t end = text_.find(terminator, from);
    if (end == std::u16string_view::npos)
        return finish({XmlNodeKind::Unterminated, start, text_.size() - start, 0, 0, false, construct});
    return finish({kind, start, end + terminator.size() - start, 0, 0, false, nullptr});
}

XmlToken XmlTokenizer::tag(std::size_t start, bool endTag) {
    XmlToken token;
    token.kind = endTag ? XmlNodeKind::EndTag : XmlNodeKind::StartTag;
    token.start = start;
    std::size_t i = start + (endTag ? 2 : 1);
    while (i < text_.size() && isXmlSpace(text_[i])) ++i;
    token.nameStart = i;
    while (i < text_.size() && !endsName(text_[i])) ++i;
    token.nameLength = i - token.nameStart;
    // A "/" right before ">" closes an empty element unless it ends an
    // unquoted attribute value (<a href=x/>).
    bool unquotedValue = false, afterEquals = false;
    for (; i < text_.size(); ++i) {
        char16_t c = text_[i];
        if (c == u'"' || c == u'\'') {
            std::size_t close = text_.find(c, i + 1);
            if (close == std::u16string_view::npos) break;
            i = close;
            unquotedValue = afterEquals = false;
        } else if (c == u'>') {
            token.length = i + 1 - start;
            token.empty = !endTag && text_[i - 1] == u'/' && !unquotedValue;
            return finish(token);
        } else if (isXmlSpace(c)) {
            unquotedValue = false;
        } else if (c == u'=') {
            afterEquals = true;
        } else if (afterEquals) {
            unquotedValue = true;
            afterEquals = false;
        }
    }
    return finish({XmlNodeKind::Unterminated, start, text_.size() - start, 0, 0, false,
                   endTag ? "Element end tag" : "Element tag"});
}

XmlToken XmlTokenizer::doctype(std::size_t start) {
    // The internal subset in brackets may hold declarations with their own ">".
    int depth = 0;
    for (std::size_t i = start + 2; i < text_.size(); ++i) {
        char16_t c = text_[i];
        if (c == u'"' || c == u'\'') {
            std::size_t close = text_.find(c, i + 1);
            if (close == std::u16string_view::npos) break;
            i = close;
        } else if (c == u'[') {
            ++depth;
        } else if (c == u']') {
            if (depth > 0) --depth;
        } else if (c == u'>' && depth == 0) {
            return finish({XmlNodeKind::Doctype, start, i + 1 - start, 0, 0, false, nullptr});
        }
    }
    return finish({XmlNodeKind::Unterminated, start, text_.size() - start, 0, 0, false, "Doctype"});
}

}  // namespace q30x
