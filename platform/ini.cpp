#include "platform/ini.h"

#include <algorithm>
#include <vector>

#include "platform/ascii.h"
#include "platform/utf16.h"

namespace q30x {
namespace {

std::string_view trimmed(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// "[name]" gives name; other lines give nothing.
bool sectionName(std::string_view line, std::string_view& name) {
    line = trimmed(line);
    if (line.empty() || line.front() != '[') return false;
    std::size_t close = line.find(']');
    name = trimmed(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

bool keyLine(std::string_view line, std::string_view& key, std::string_view& value) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = trimmed(line.substr(0, eq));
    value = trimmed(line.substr(eq + 1));
    return !key.empty() && key.front() != ';';
}

// INI files of the system are a few lines; a larger one is not rewritten.
constexpr std::size_t kMaxIniBytes = 1u << 20;

bool breaksLines(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Files written by Windows tools may be UTF-16LE with a mark; both forms
// are read, and a file keeps its form when it is written back.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

struct IniFile {
    std::string text;
    bool utf16 = false;
    bool utf8Mark = false;
};

IniFile decodeIni(const std::vector<uint8_t>& bytes) {
    IniFile file;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) units += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
        file.text = toUtf8(units);
        file.utf16 = true;
    } else {
        file.text.assign(bytes.begin(), bytes.end());
        if (file.text.rfind(kUtf8Mark, 0) == 0) {
            file.text.erase(0, kUtf8Mark.size());
            file.utf8Mark = true;
        }
    }
    return file;
}

std::vector<uint8_t> encodeIni(const IniFile& file) {
    std::vector<uint8_t> bytes;
    if (file.utf16) {
        bytes = {0xFF, 0xFE};
        for (char16_t unit : fromUtf8(file.text)) {
            bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
            bytes.push_back(static_cast<uint8_t>(unit >> 8));
        }
        return bytes;
    }
    if (file.utf8Mark) bytes.assign(kUtf8Mark.begin(), kUtf8Mark.end());
    bytes.insert(bytes.end(), file.text.begin(), file.text.end());
    return bytes;
}

}  // namespace

IniText::IniText(std::string text) : text_(std::move(text)) {}

bool IniText::nextLine(std::size_t& pos, Line& line) const {
    if (pos >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos);
    std::size_t next = end == std::string::npos ? text_.size() : end + 1;
    if (end == std::string::npos) end = text_.size();
    if (end > pos && text_[end - 1] == '\r') --end;
    line = {pos, end};
    pos = next;
    return true;
}

std::string IniText::newline() const {
    return text_.find("\r\n") != std::string::npos ? "\r\n" : "\n";
}

bool IniText::value(std::string_view section, std::string_view key, std::string& out) const {
    std::string_view text(text_);
    bool inSection = false;
    std::size_t pos = 0;
    Line line{};
    while (nextLine(pos, line)) {
        std::string_view content = text.substr(line.begin, line.end - line.begin), name, k, v;
        if (sectionName(content, name)) {
            if (inSection) return false;  // only the first section of the name counts
            inSection = equalIgnoringAsciiCase(name, section);
        } else if (inSection && keyLine(content, k, v) && equalIgnoringAsciiCase(k, key)) {
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            out = std::string(v);
            return true;
        }
    }
    return false;
}

int32_t IniText::integer(std::string_view section, std::string_view key, int32_t fallback) const {
    std::string text;
    if (!value(section, key, text)) return fallback;
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    int64_t n = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) break;
        n = std::min<int64_t>(n * base + digit, int64_t{1} << 32);
    }
    // Out-of-range numbers wrap to 32 bits, as the Windows call returns them.
    return static_cast<int32_t>(static_cast<uint32_t>(negative ? -n : n));
}

bool IniText::setValue(std::string_view section, std::string_view key, std::string_view value) {
    section = trimmed(section);
    key = trimmed(key);
    if (section.empty() || key.empty() || breaksLines(section) || breaksLines(key) || breaksLines(value) ||
        section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos || key.front() == '[' ||
        key.front() == ';')
        return false;
    const std::string nl = newline();
    const std::string entry = std::string(key) + "=" + std::string(value);
    std::string_view text(text_);
    bool inSection = false;
    std::size_t insertAt = std::string::npos;  // after the last non-blank line of the section
    std::size_t pos = 0;
    Line line{};
    while (nextLine(pos, line)) {
        std::string_view content = text.substr(line.begin, line.end - line.begin), name, k, v;
        if (sectionName(content, name)) {
            if (inSection) break;
            inSection = equalIgnoringAsciiCase(name, section);
            if (inSection) insertAt = pos;
        } else if (inSection && keyLine(content, k, v) && equalIgnoringAsciiCase(k, key)) {
            std::size_t eq = text_.find('=', line.begin);
            text_.replace(eq + 1, line.end - eq - 1, value);
            return true;
        } else if (inSection && !trimmed(content).empty()) {
            insertAt = pos;
        }
    }
    if (insertAt != std::string::npos) {
        // The section's last line may be the file's last line, without a break.
        text_.insert(insertAt, (insertAt == text_.size() ? lastLineBreak(nl) : "") + entry + nl);
        return true;
    }
    text_ += lastLineBreak(nl) + "[" + std::string(section) + "]" + nl + entry + nl;
    return true;
}

std::string IniText::lastLineBreak(const std::string& nl) const {
    if (text_.empty() || text_.back() == '\n') return "";
    // A lone CR ending the file becomes CR LF: another break after it would
    // leave the CR inside the line, and "[name\r" would then name another section.
    return text_.back() == '\r' ? "\n" : nl;
}

int32_t readIniInteger(const std::string& path, std::string_view section, std::string_view key, int32_t fallback) {
    FileRead read = readFile(path, kMaxIniBytes);
    if (read.error != FileError::None) return fallback;
    return IniText(decodeIni(read.bytes).text).integer(section, key, fallback);
}

FileError writeIniValue(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    FileRead read = readFile(path, kMaxIniBytes + 1);
    if (read.error != FileError::None && read.error != FileError::NotFound) return read.error;
    if (read.bytes.size() > kMaxIniBytes) return FileError::Other;
    IniFile file = decodeIni(read.bytes);
    IniText ini(std::move(file.text));
    if (!ini.setValue(section, key, value)) return FileError::Other;
    file.text = ini.text();
    return writeFileAtomic(path, encodeIni(file), FileAccess::UserDefault);
}

}  // namespace q30x
