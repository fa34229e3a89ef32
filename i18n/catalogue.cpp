#include "i18n/catalogue.h"

#include "platform/utf16.h"

namespace q30x {

const std::u16string& StringCatalogue::text(std::string_view key) const {
    static const std::u16string empty;
    std::size_t index = catalogueIndex(key);
    return index < entries_.size() ? entries_[index] : empty;
}

void StringCatalogue::clear() {
    for (auto& entry : entries_) entry.clear();
    found_.fill(false);
}

std::optional<std::u16string> StringCatalogue::findEntry(XmlDocument& document, std::string_view parent,
                                                         std::string_view key) {
    const std::u16string parentName = fromUtf8(parent), keyName = fromUtf8(key);
    document.Rewind();
    while (document.FindChild(parentName)) {
        document.EnterChild();
        if (document.FindChild(keyName)) return document.ChildText();
    }
    return std::nullopt;
}

std::u16string StringCatalogue::GetEntry(XmlDocument& document, std::string_view parent, std::string_view key) {
    return findEntry(document, parent, key).value_or(std::u16string());
}

std::u16string_view StringCatalogue::messageText(std::string_view key) const {
    const std::u16string& entry = text(key);
    if (!entry.empty()) return entry;
    if (key == "str_msg2") return kMissingFileText;
    if (key == "str_msg4") return u"Access to the file was denied. Make sure it is not read-only.";
    if (key == "str_msg5") return u"The file could not be saved because access was denied.";
    return entry;
}

bool StringCatalogue::LoadCatalogue(const std::string& path) {
    document_.LoadFile(path);
    for (std::size_t i = 0; i < kCatalogueKeys.size(); ++i) {
        std::optional<std::u16string> entry = findEntry(document_, "config", kCatalogueKeys[i]);
        found_[i] = entry.has_value();
        entries_[i] = entry.value_or(std::u16string());
    }
    return document_.fileError() == FileError::None;
}

void reportSaveFailure(UserMessages& messages, const StringCatalogue& strings, FileError error,
                       const std::string& path, int chineseUi) {
    if (error == FileError::NotFound)
        messages.standard(formatText(strings.messageText("str_msg2"), fromUtf8(path)), kInfoCaption);
    else if (error == FileError::AccessDenied)
        messages.standard(strings.messageText("str_msg5"), kInfoCaption);
    else if (error != FileError::None)
        messages.standard(notSavedText(error, path, chineseUi), kInfoCaption);
}

std::u16string notSavedText(FileError error, const std::string& path, int chineseUi) {
    const bool full = error == FileError::NoSpace;
    std::u16string_view pattern;
    if (chineseUi)
        pattern = full ? u"无法保存 %s：磁盘已满。文件保留原来的内容。" : u"无法保存 %s。文件保留原来的内容。";
    else
        pattern = full ? u"%s could not be saved: the disk is full. The file keeps its previous content."
                       : u"%s could not be saved. The file keeps its previous content.";
    return formatText(pattern, fromUtf8(path));
}

}  // namespace q30x
