#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/user_messages.h"

namespace q30x::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the test ends.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::vector<uint8_t> readAll(const std::string& path);
void writeAll(const std::string& path, const std::vector<uint8_t>& bytes);

// Every message the system showed, in order, as UTF-8.
struct RecordedMessages final : UserMessages {
    struct Shown {
        std::string text;
        std::string caption;  // empty for the skinned box
        bool skinned;
        bool question = false;  // asked with OK and Cancel
    };
    std::vector<Shown> shown;
    bool answer = false;  // what every question is answered

    void info(std::u16string_view text) override;
    void standard(std::u16string_view text, std::u16string_view caption) override;
    bool question(std::u16string_view text) override;
};

}  // namespace q30x::test
