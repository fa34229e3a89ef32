#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace q30x {

// A whole XML file held as UTF-16 text with an index of its elements, read
// by position: the subset the language files and the update description
// need. Each user owns its own document, so loads never overlap.
class XmlDocument {
public:
    enum class Mark { None, Utf8, Utf16Le, Utf16Be };

    // Replaces the document with the file's content. True when the file was
    // read and is well formed; an ill-formed file still keeps the index built
    // so far, an unreadable one leaves an empty document.
    bool LoadFile(const std::string& path);
    // The same for bytes already in memory.
    bool Load(std::span<const uint8_t> bytes);

    // Position := (none, none, none).
    void Rewind();
    // Among the children of the position's parent, the next element after the
    // current one named `name` (any element for an empty name) becomes current.
    bool FindElement(std::u16string_view name = {});
    // Among the children of the current element (the first element when there
    // is none), the next after the child position named `name`.
    bool FindChild(std::u16string_view name = {});
    // Steps into the current element: it becomes the parent, the child
    // position becomes current.
    bool EnterChild();
    // The text of the element at the child position: empty when it has child
    // elements, else its content with references resolved and CDATA kept.
    std::u16string ChildText() const;

    const std::u16string& text() const { return text_; }
    // Encoding notes and the first problem found by the last load.
    const std::string& result() const { return result_; }
    bool wellFormed() const { return wellFormed_; }
    FileError fileError() const { return fileError_; }
    Mark mark() const { return mark_; }
    // Elements in document order (the document node excluded).
    std::size_t elementCount() const { return elements_.size() - 1; }

    // Largest file the reader takes; language files are a few kilobytes.
    static constexpr std::size_t kMaxFileBytes = 16u << 20;

private:
    enum Flags : uint32_t { kEmpty = 1, kNotEnded = 2 };

    struct Element {
        uint32_t start = 0;           // offset of "<" of the start tag
        uint32_t length = 0;          // up to the end of the end tag
        uint32_t startTagLength = 0;
        uint32_t endTagLength = 0;
        uint32_t nameLength = 0;
        uint32_t flags = 0;
        uint32_t parent = 0, firstChild = 0, lastChild = 0, nextSibling = 0, prevSibling = 0;
    };

    void clear();
    void decode(std::span<const uint8_t> bytes);
    void buildIndex();
    void closeNotEnded(uint32_t index);
    struct OpenElements;
    void closeOpenElements(OpenElements& open, std::size_t keep);
    void problem(const std::string& text);
    std::u16string_view nameOf(uint32_t index) const;
    uint32_t nextNamed(uint32_t first, std::u16string_view name) const;
    std::u16string contentText(std::size_t from, std::size_t to) const;

    std::u16string text_;
    std::vector<Element> elements_{Element{}};  // record 0: the document node
    uint32_t parent_ = 0, current_ = 0, child_ = 0;
    std::string result_;
    bool problemFound_ = false;
    bool wellFormed_ = false;
    FileError fileError_ = FileError::None;
    Mark mark_ = Mark::None;
};

}  // namespace q30x
