#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/utf16.h"

namespace q30x::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "q30x-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Tests take write permission away; give it back so the folder can go.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::vector<uint8_t> readAll(const std::string& path) {
    // In blocks: a byte at a time took half a second for the 2 MB Macro.cfg
    // in the unoptimised sanitizer build, once per kill of the crash tests.
    std::filebuf file;
    std::vector<uint8_t> bytes;
    if (!file.open(path, std::ios::in | std::ios::binary)) return bytes;
    char block[16384];
    for (std::streamsize n; (n = file.sgetn(block, sizeof block)) > 0;) bytes.insert(bytes.end(), block, block + n);
    return bytes;
}

void writeAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void RecordedMessages::info(std::u16string_view text) { shown.push_back({toUtf8(text), "", true}); }

void RecordedMessages::standard(std::u16string_view text, std::u16string_view caption) {
    shown.push_back({toUtf8(text), toUtf8(caption), false});
}

bool RecordedMessages::question(std::u16string_view text) {
    shown.push_back({toUtf8(text), "", true, true});
    return answer;
}

}  // namespace q30x::test
