#pragma once
#include <ostream>

#include "platform/user_messages.h"
#include "platform/utf16.h"

namespace q30x::cli {

// The system's messages to the user, printed one per line on standard error.
class ConsoleMessages final : public UserMessages {
public:
    explicit ConsoleMessages(std::ostream& err) : err_(err) {}
    void info(std::u16string_view text) override { err_ << toUtf8(text) << "\n"; }
    void standard(std::u16string_view text, std::u16string_view caption) override {
        err_ << toUtf8(caption) << ": " << toUtf8(text) << "\n";
    }

private:
    std::ostream& err_;
};

}  // namespace q30x::cli
