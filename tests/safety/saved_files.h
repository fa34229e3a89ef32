#pragma once
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user_messages.h"

namespace q30x::test {

// The files the test writer replaces through the product's own saves, each
// between two contents (0 and 1) that differ, so that every byte on disk
// tells which save it came from.
enum class SavedFile { Macro, Stats, Language, Export };

struct SavedFileName {
    SavedFile file;
    std::string_view name;  // on the writer's command line
};
inline constexpr SavedFileName kSavedFiles[] = {
    {SavedFile::Macro, "macro"}, {SavedFile::Stats, "stats"}, {SavedFile::Language, "language"},
    {SavedFile::Export, "export"}};
inline void PrintTo(const SavedFileName& saved, std::ostream* out) { *out << saved.name; }

// The working folder's files lie in `folder`; the export is "My profile.cfg"
// in the folder the user chose.
std::string savedFilePath(SavedFile file, const std::string& folder);

// The bytes on disk once content `which` was saved.
std::vector<uint8_t> savedImage(SavedFile file, int which);

// Saves through the function the program itself uses: the macro store's
// rename (a macro edit, the library loaded from the file first), the
// statistics save, the language choice, the profile export. Messages go to
// `messages`, as the program would show them.
class ProductSave {
public:
    ProductSave(SavedFile file, const std::string& folder, UserMessages& messages);
    ~ProductSave();
    ProductSave(const ProductSave&) = delete;
    ProductSave& operator=(const ProductSave&) = delete;

    // True when the file was written.
    bool save(int which);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace q30x::test
