#include "tests/safety/saved_files.h"

#include "i18n/catalogue.h"
#include "i18n/language_choice.h"
#include "macros/macro_store.h"
#include "pages/profile_transfer.h"
#include "pages/stats.h"
#include "platform/clock.h"
#include "platform/utf16.h"
#include "tests/support/bytes.h"
#include "tests/support/macro_file_image.h"

namespace q30x::test {
namespace {

constexpr uint32_t kMacroId = 0x01000001;
constexpr std::u16string_view kMacroNames[] = {u"Alpha", u"Bravo"};
constexpr int32_t kLanguages[] = {3, 5};

std::unique_ptr<MacroLibrary> macroLibrary(int which) {
    return std::move(test::MacroFileImage()
                         .put(0, kMacroId, kMacroNames[which],
                              {macroEvent(kEventKeyDown, 0x41), macroEvent(kEventKeyUp, 0x41)}, 1)
                         .library);
}

StatsBlock statsBlock(int which) {
    return which ? StatsBlock{500'001, 2, 3, 4, 5, 6'000'000} : StatsBlock{10, 20, 30, 40, 50, 60};
}

std::unique_ptr<ProfileRecord> profile(int which) {
    auto record = std::make_unique<ProfileRecord>();
    fillProfileDefaults(*record, which);
    record->dpiLevels[0] = which ? 3200 : 800;
    return record;
}

}  // namespace

std::string savedFilePath(SavedFile file, const std::string& folder) {
    switch (file) {
    case SavedFile::Macro: return joinPath(folder, filenames::kMacro);
    case SavedFile::Stats: return joinPath(folder, filenames::kStats);
    case SavedFile::Language: return joinPath(folder, filenames::kLanguage);
    case SavedFile::Export: return joinPath(folder, "My profile.cfg");
    }
    return {};
}

std::vector<uint8_t> savedImage(SavedFile file, int which) {
    switch (file) {
    case SavedFile::Macro: return bytesOf(*macroLibrary(which));
    case SavedFile::Stats: return bytesOf(statsBlock(which));
    case SavedFile::Language: return bytesOf(kLanguages[which]);
    case SavedFile::Export: return bytesOf(*profile(which));
    }
    return {};
}

struct ProductSave::State {
    State(SavedFile file, const std::string& folder, UserMessages& messages)
        : file(file), folders{folder, folder}, messages(messages) {}
    SavedFile file;
    Folders folders;
    UserMessages& messages;
    StringCatalogue strings;
    LanguageState language{0, 0, 2};
    FakeClock clock;  // the macro save's pauses are the program's, not the disk's
    std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
    MacroStore macros{*library, SettingsContext{folders, messages, strings, language}, clock};
};

ProductSave::ProductSave(SavedFile file, const std::string& folder, UserMessages& messages)
    : state_(std::make_unique<State>(file, folder, messages)) {
    if (file == SavedFile::Macro) state_->macros.loadFile();
}

ProductSave::~ProductSave() = default;

bool ProductSave::save(int which) {
    State& s = *state_;
    switch (s.file) {
    case SavedFile::Macro: return s.macros.rename(kMacroId, kMacroNames[which]) == MacroResult::Done;
    case SavedFile::Stats: return saveStatsFile(s.folders, s.messages, s.strings, statsBlock(which), 0);
    case SavedFile::Language: return writeLanguageChoice(s.folders, kLanguages[which], s.messages, s.strings, 0);
    case SavedFile::Export: {
        const TransferResult result = exportProfileFile(savedFilePath(s.file, s.folders.working), *profile(which));
        s.messages.standard(result.text, kInfoCaption);
        return result.done;
    }
    }
    return false;
}

}  // namespace q30x::test
