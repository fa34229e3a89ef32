#include "i18n/xml_document.h"

#include <algorithm>
#include <unordered_map>

#include "i18n/xml_encoding.h"
#include "i18n/xml_entities.h"
#include "i18n/xml_tokens.h"
#include "platform/ascii.h"
#include "platform/utf16.h"

namespace q30x {
namespace {

// The declaration is looked for in this much of a file without a mark.
constexpr std::size_t kSniffBytes = 1024;

// The encoding pseudo-attribute of an XML declaration at offset 0.
std::string declaredEncoding(std::span<const uint8_t> head) {
    std::u16string text = fromUtf8(std::string_view(reinterpret_cast<const char*>(head.data()), head.size()));
    if (text.size() < 6 || text[0] != u'<' || text[1] != u'?' || asciiLower(text[2]) != u'x' || asciiLower(text[3]) != u'm' ||
        asciiLower(text[4]) != u'l' || !(isXmlSpace(text[5]) || text[5] == u'?'))
        return {};
    std::size_t end = text.find(u"?>");
    if (end == std::u16string::npos) end = text.size();
    std::size_t i = 5;
    auto skipSpace = [&] {
        while (i < end && isXmlSpace(text[i])) ++i;
    };
    while (i < end) {
        skipSpace();
        std::size_t nameStart = i;
        while (i < end && !isXmlSpace(text[i]) && text[i] != u'=') ++i;
        std::u16string_view name(text.data() + nameStart, i - nameStart);
        skipSpace();
        if (i >= end || text[i] != u'=') break;
        ++i;
        skipSpace();
        if (i >= end || (text[i] != u'"' && text[i] != u'\'')) break;
        char16_t quote = text[i++];
        std::size_t close = text.find(quote, i);
        if (close == std::u16string::npos || close > end) break;
        if (name == u"encoding") return toUtf8(std::u16string_view(text.data() + i, close - i));
        i = close + 1;
    }
    return {};
}

std::string number(std::size_t value) { return std::to_string(value); }

// UTF-16 without a mark: the first two characters are ASCII ("<?", "<r",
// "\r\n"), so every other byte is zero. UTF-32 (three zeros) does not match.
bool startsAsUtf16(std::span<const uint8_t> bytes, bool& bigEndian) {
    if (bytes.size() < 4) return false;
    auto ascii = [](uint8_t b) { return b != 0 && b < 0x80; };
    if (ascii(bytes[0]) && !bytes[1] && ascii(bytes[2]) && !bytes[3]) {
        bigEndian = false;
        return true;
    }
    if (!bytes[0] && ascii(bytes[1]) && !bytes[2] && ascii(bytes[3])) {
        bigEndian = true;
        return true;
    }
    return false;
}

}  // namespace

void XmlDocument::clear() {
    text_.clear();
    elements_.assign(1, Element{});
    parent_ = current_ = child_ = 0;
    result_.clear();
    problemFound_ = false;
    wellFormed_ = false;
    fileError_ = FileError::None;
    mark_ = Mark::None;
}

bool XmlDocument::LoadFile(const std::string& path) {
    FileRead read = readFile(path, kMaxFileBytes + 1);
    if (read.error == FileError::None && read.bytes.size() > kMaxFileBytes) read.error = FileError::Other;
    if (read.error != FileError::None) {
        clear();
        fileError_ = read.error;
        result_ = read.bytes.size() > kMaxFileBytes ? "File too large" : "Unable to read file";
        return false;
    }
    return Load(read.bytes);
}

bool XmlDocument::Load(std::span<const uint8_t> bytes) {
    clear();
    if (bytes.size() > kMaxFileBytes) {
        result_ = "File too large";
        return false;
    }
    decode(bytes);
    buildIndex();
    wellFormed_ = !problemFound_;
    return wellFormed_;
}

void XmlDocument::decode(std::span<const uint8_t> bytes) {
    auto startsWith = [&](std::initializer_list<uint8_t> mark) {
        return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
    };
    std::string encoding;
    std::size_t skip = 0;
    if (startsWith({0xEF, 0xBB, 0xBF})) {
        mark_ = Mark::Utf8, encoding = "UTF-8", skip = 3;
    } else if (startsWith({0xFF, 0xFE})) {
        mark_ = Mark::Utf16Le, skip = 2;
    } else if (startsWith({0xFE, 0xFF})) {
        mark_ = Mark::Utf16Be, skip = 2;
    }
    bool wide = mark_ == Mark::Utf16Le || mark_ == Mark::Utf16Be;
    bool bigEndian = mark_ == Mark::Utf16Be;
    if (mark_ != Mark::None) {
        result_ += wide ? "UTF-16 BOM + " : "UTF-8 BOM + ";
    } else if (startsAsUtf16(bytes, bigEndian)) {
        // Dropping the zero bytes of UTF-16 would leave only its ASCII intact.
        wide = true;
        result_ += "UTF-16 ";
    } else {
        encoding = declaredEncoding(bytes.first(std::min(bytes.size(), kSniffBytes)));
        if (encoding.empty() && !bytes.empty() && bytes[0] == '<') encoding = "UTF-8";
    }
    std::span<const uint8_t> data = bytes.subspan(skip);
    if (data.empty()) {
        result_ += "0 length ";
        return;
    }
    result_ += "length " + number(data.size()) + " ";

    if (wide) {
        std::size_t nulls = 0;
        text_.reserve(data.size() / 2);
        for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
            auto unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
            if (bigEndian) unit = static_cast<char16_t>(unit >> 8 | unit << 8);
            if (unit == 0) ++nulls;
            else text_ += unit;
        }
        if (nulls) result_ += "(" + number(nulls) + " nulls removed) ";
        if (bigEndian) result_ += "endian swap ";
    } else {
        std::vector<uint8_t> bytesWithoutNulls;
        bytesWithoutNulls.reserve(data.size());
        std::copy_if(data.begin(), data.end(), std::back_inserter(bytesWithoutNulls), [](uint8_t b) { return b != 0; });
        if (bytesWithoutNulls.size() != data.size())
            result_ += "(" + number(data.size() - bytesWithoutNulls.size()) + " nulls removed) ";
        int codePage = kAnsiCodePage;
        if (encoding.empty()) {
            if (passesUtf8Test(bytesWithoutNulls)) {
                codePage = kUtf8CodePage;
                result_ += "(used UTF-8 detection) ";
            }
        } else {
            codePage = codePageOfCharset(encoding);
            if (codePage == 0) codePage = kAnsiCodePage;
        }
        DecodedText decoded = decodeCodePage(bytesWithoutNulls, codePage);
        if (codePage == kAnsiCodePage || decoded.usedAnsi) result_ += "ANSI ";
        text_ = std::move(decoded.text);
    }
    result_ += "to " + number(text_.size()) + " wide chars ";
}

void XmlDocument::problem(const std::string& text) {
    if (!problemFound_) result_ += text;
    problemFound_ = true;
}

std::u16string_view XmlDocument::nameOf(uint32_t index) const {
    const Element& e = elements_[index];
    return std::u16string_view(text_).substr(e.start + 1, e.nameLength);
}

void XmlDocument::closeNotEnded(uint32_t index) {
    problem("Element '" + toUtf8(nameOf(index)) + "' not ended");
    Element& e = elements_[index];
    e.flags |= kNotEnded;
    e.length = e.startTagLength;
    if (!e.firstChild) return;
    // Its children follow it in its parent. It is open, so it is the last child
    // there. Their parent links are set once the whole chain is closed.
    elements_[e.firstChild].prevSibling = index;
    e.nextSibling = e.firstChild;
    elements_[e.parent].lastChild = e.lastChild;
    e.firstChild = e.lastChild = 0;
}

// The stack of open elements, with the depths of each name, so that an end
// tag finds its innermost match without walking a deep stack.
struct XmlDocument::OpenElements {
    std::vector<uint32_t> stack;
    std::unordered_map<std::u16string_view, std::vector<std::size_t>> depthsByName;

    void push(uint32_t index, std::u16string_view name) {
        depthsByName[name].push_back(stack.size());
        stack.push_back(index);
    }
    void pop(std::u16string_view name) {
        depthsByName[name].pop_back();
        stack.pop_back();
    }
    // The depth of the innermost open element of that name, or -1.
    std::ptrdiff_t find(std::u16string_view name) const {
        auto it = depthsByName.find(name);
        return it == depthsByName.end() || it->second.empty() ? -1 : static_cast<std::ptrdiff_t>(it->second.back());
    }
};

// Closes the open elements above `keep` as not ended, innermost first. Every
// element they held now follows the outermost of them and gets its new
// parent once, so a deep unclosed chain costs no more than its length.
void XmlDocument::closeOpenElements(OpenElements& open, std::size_t keep) {
    if (open.stack.size() <= keep) return;
    const uint32_t outermost = open.stack[keep];
    while (open.stack.size() > keep) {
        closeNotEnded(open.stack.back());
        open.pop(nameOf(open.stack.back()));
    }
    const uint32_t parent = elements_[outermost].parent;
    for (uint32_t c = elements_[outermost].nextSibling; c; c = elements_[c].nextSibling) elements_[c].parent = parent;
}

void XmlDocument::buildIndex() {
    if (text_.empty()) {
        problem("Empty document");
        return;
    }
    XmlTokenizer tokens(text_, 0, text_.size());
    OpenElements open;
    for (XmlToken t = tokens.next(); t.kind != XmlNodeKind::End; t = tokens.next()) {
        if (t.kind == XmlNodeKind::StartTag) {
            auto index = static_cast<uint32_t>(elements_.size());
            uint32_t parent = open.stack.empty() ? 0 : open.stack.back();
            Element e;
            e.start = static_cast<uint32_t>(t.start);
            e.length = e.startTagLength = static_cast<uint32_t>(t.length);
            e.nameLength = static_cast<uint32_t>(t.nameLength);
            e.parent = parent;
            e.prevSibling = elements_[parent].lastChild;
            if (t.empty) e.flags |= kEmpty;
            elements_.push_back(e);
            if (e.prevSibling) elements_[e.prevSibling].nextSibling = index;
            else elements_[parent].firstChild = index;
            elements_[parent].lastChild = index;
            if (parent == 0 && e.prevSibling) problem("Root element has sibling");
            if (!t.empty) open.push(index, nameOf(index));
        } else if (t.kind == XmlNodeKind::EndTag) {
            std::u16string_view name = std::u16string_view(text_).substr(t.nameStart, t.nameLength);
            std::ptrdiff_t depth = open.find(name);
            if (depth < 0) {
                problem("No start tag for end tag '" + toUtf8(name) + "' at offset " + number(t.start));
                continue;
            }
            if (static_cast<std::size_t>(depth) + 1 != open.stack.size())
                problem("End tag '" + toUtf8(name) + "' at offset " + number(t.start) + " does not match start tag '" +
                        toUtf8(nameOf(open.stack.back())) + "'");
            closeOpenElements(open, static_cast<std::size_t>(depth) + 1);  // the matched one stays
            Element& e = elements_[open.stack.back()];
            e.length = static_cast<uint32_t>(t.start + t.length - e.start);
            e.endTagLength = static_cast<uint32_t>(t.length);
            open.pop(name);
        } else if (t.kind == XmlNodeKind::Incorrect) {
            problem(std::string("Incorrect ") + t.problem + " at offset " + number(t.start));
        } else if (t.kind == XmlNodeKind::Unterminated) {
            problem(std::string(t.problem) + " at offset " + number(t.start) + " unterminated");
        }
    }
    closeOpenElements(open, 0);
    if (elements_.size() == 1) problem("No root element");
    else if (elements_[elements_[0].firstChild].nextSibling) problem("Root element has sibling");
}

void XmlDocument::Rewind() { parent_ = current_ = child_ = 0; }

uint32_t XmlDocument::nextNamed(uint32_t first, std::u16string_view name) const {
    for (uint32_t i = first; i; i = elements_[i].nextSibling)
        if (name.empty() || nameOf(i) == name) return i;
    return 0;
}

bool XmlDocument::FindElement(std::u16string_view name) {
    uint32_t first = current_ ? elements_[current_].nextSibling : elements_[parent_].firstChild;
    uint32_t found = nextNamed(first, name);
    if (!found) return false;
    current_ = found;
    child_ = 0;
    return true;
}

bool XmlDocument::FindChild(std::u16string_view name) {
    if (!current_ && !FindElement()) return false;
    uint32_t first = child_ ? elements_[child_].nextSibling : elements_[current_].firstChild;
    uint32_t found = nextNamed(first, name);
    if (!found) return false;
    child_ = found;
    return true;
}

bool XmlDocument::EnterChild() {
    if (!current_) return false;
    parent_ = current_;
    current_ = child_;
    child_ = 0;
    return true;
}

std::u16string XmlDocument::ChildText() const {
    if (!child_) return {};
    const Element& e = elements_[child_];
    if (e.firstChild) return {};
    return contentText(e.start + e.startTagLength, e.start + e.length - e.endTagLength);
}

std::u16string XmlDocument::contentText(std::size_t from, std::size_t to) const {
    std::u16string_view text(text_);
    std::u16string_view content = text.substr(from, to - from);
    if (content.find(u'<') == std::u16string_view::npos) return resolveReferences(content);
    std::u16string out;
    XmlTokenizer tokens(text, from, to);
    for (XmlToken t = tokens.next(); t.kind != XmlNodeKind::End; t = tokens.next()) {
        switch (t.kind) {
        case XmlNodeKind::Text:
        case XmlNodeKind::Whitespace:
        case XmlNodeKind::Incorrect:
            out += resolveReferences(text.substr(t.start, t.length));
            break;
        case XmlNodeKind::CData:
            out += text.substr(t.start + 9, t.length - 12);
            break;
        default:
            break;
        }
    }
    return out;
}

}  // namespace q30x
