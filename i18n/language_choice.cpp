#include "i18n/language_choice.h"

#include "platform/ini.h"
#include "platform/utf16.h"

namespace q30x {
namespace {

std::string choicePath(const Folders& folders) { return joinPath(folders.working, filenames::kLanguage); }

}  // namespace

int32_t readLanguageChoice(const Folders& folders, UserMessages& messages) {
    const std::string path = choicePath(folders);
    int32_t number = 0;
    FileError error = readRecord(path, number);
    if (error == FileError::None) return number;
    if (error == FileError::NotFound) messages.info(formatText(kMissingFileText, fromUtf8(path)));
    return 1;
}

bool writeLanguageChoice(const Folders& folders, int32_t number, UserMessages& messages,
                         const StringCatalogue& strings, int chineseUi) {
    const std::string path = choicePath(folders);
    const FileError error = writeRecord(path, number, FileAccess::Private);
    reportSaveFailure(messages, strings, error, path, chineseUi);
    return error == FileError::None;
}

int32_t readSkinType(const Folders& folders) {
    return readIniInteger(joinPath(folders.program, filenames::kSkinType), "languagetype", "value", 0);
}

FileError writeBurnerLanguage(const Folders& folders, int chineseSkin) {
    return writeIniValue(joinPath(folders.program, filenames::kBurnerConfig), "Language", "Type",
                         chineseSkin ? "1" : "0");
}

int applySkinType(LanguageContext& context) {
    const int chinese = readSkinType(context.folders) == 1 ? 1 : 0;
    context.language.chineseUi = context.language.chineseSkin = chinese;
    const Language& skinLanguage = kLanguages[chinese ? 0 : 1];
    context.strings.LoadCatalogue(joinPath(context.folders.program, std::string(skinLanguage.file)));
    writeBurnerLanguage(context.folders, chinese);
    return chinese ? kChineseFlagBitmap : kEnglishFlagBitmap;
}

const Language* loadLanguage(LanguageContext& context, int32_t number) {
    context.language.chineseUi = 0;
    const Language* language = findLanguage(number);
    if (!language) return nullptr;
    context.language.languageNumber = number;
    context.language.chineseUi = language->chineseUi;
    context.strings.LoadCatalogue(joinPath(context.folders.program, std::string(language->file)));
    return language;
}

LanguageActions applyLanguage(LanguageContext& context, uint32_t wParam, int32_t number, bool popupOpen) {
    LanguageActions actions;
    if (number == 0) {
        actions.forgetPopup = true;
        return actions;
    }
    const bool atStartUp = wParam == kLanguageAtStartUp;
    if (!popupOpen && !atStartUp) {
        actions.ignored = true;
        return actions;
    }
    if (const Language* language = loadLanguage(context, number)) actions.flagBitmap = language->flagBitmap;
    writeLanguageChoice(context.folders, number, context.messages, context.strings, context.language.chineseUi);
    actions.refreshLabels = true;
    actions.closePopup = actions.forgetPopup = !atStartUp;
    return actions;
}

}  // namespace q30x
