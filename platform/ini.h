#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace q30x {

// The text of an INI file: "[section]" lines and "key=value" lines below
// them. Section and key names match without regard to ASCII case and
// surrounding blanks; the first section and key of a name count. Edits
// rewrite only the line they change, so comments, order and unknown keys
// survive.
class IniText {
public:
    IniText() = default;
    explicit IniText(std::string text);

    // The value without surrounding blanks and one pair of enclosing quotes;
    // false when the key is absent.
    bool value(std::string_view section, std::string_view key, std::string& out) const;
    // The value as an integer ("12", "-3", "0x1F"; digits as far as they go,
    // 0 when there are none), or `fallback` when the key is absent.
    int32_t integer(std::string_view section, std::string_view key, int32_t fallback) const;
    // Sets the value, adding the key, and the section at the end, when
    // missing. Refuses names and values that would break the line structure.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    const std::string& text() const { return text_; }

private:
    struct Line {
        std::size_t begin, end;  // without the line break
    };
    bool nextLine(std::size_t& pos, Line& line) const;
    std::string newline() const;
    // What ends the file's last line before more is added after it.
    std::string lastLineBreak(const std::string& nl) const;

    std::string text_;
};

// GetPrivateProfileInt: the integer of the key in the file, `fallback` when
// the file or the key is missing.
int32_t readIniInteger(const std::string& path, std::string_view section, std::string_view key, int32_t fallback);

// WritePrivateProfileString: sets the key in the file, creating the file (but
// not its folder) when it does not exist; the file is replaced atomically.
FileError writeIniValue(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace q30x
