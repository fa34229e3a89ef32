#pragma once
#include <string_view>

namespace q30x {

// Where the system's messages to the user go. The windows show them in the
// skinned box or the standard box; the command line prints them.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    // The skinned message box with an OK button.
    virtual void info(std::u16string_view text) = 0;
    // The standard message box with its caption ("Info" throughout the system).
    virtual void standard(std::u16string_view text, std::u16string_view caption) = 0;
    // The skinned box with OK and Cancel: true for OK. Where no one can be
    // asked, nothing is confirmed.
    virtual bool question(std::u16string_view) { return false; }
};

}  // namespace q30x

namespace q30x {

// The text every reader of the working folder shows for a missing file.
inline constexpr std::u16string_view kMissingFileText = u"Failed to open file, check whether there is a %s path?";
inline constexpr std::u16string_view kInfoCaption = u"Info";

}  // namespace q30x
