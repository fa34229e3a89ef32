#pragma once
#include <cstdint>

#include "i18n/catalogue.h"
#include "i18n/languages.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/user_messages.h"

namespace q30x {

// wParam of the language message (1025) that the main window posts to
// itself at start-up; the popup's messages carry 0.
inline constexpr uint32_t kLanguageAtStartUp = 0x110;

// Bitmaps of the language control for the two skin sets.
inline constexpr int kChineseFlagBitmap = 142;
inline constexpr int kEnglishFlagBitmap = 143;

struct LanguageContext {
    const Folders& folders;
    UserMessages& messages;
    LanguageState& language;
    StringCatalogue& strings;
};

// The number stored in the working folder's Language.cfg (a short file reads
// as zero-filled). 1 when the file cannot be opened; when it or its folder is
// missing the missing-file message is shown first.
int32_t readLanguageChoice(const Folders& folders, UserMessages& messages);

// Stores the number in Language.cfg; a failure is told as reportSaveFailure
// does. True when it was written.
bool writeLanguageChoice(const Folders& folders, int32_t number, UserMessages& messages,
                         const StringCatalogue& strings, int chineseUi);

// The installed skin set from skins/languagetype.ini: 1 the Chinese one,
// anything else (or no file) the other.
int32_t readSkinType(const Folders& folders);

// Tells the firmware burner its language: FWUpdate/Config.ini [Language] Type.
FileError writeBurnerLanguage(const Folders& folders, int chineseSkin);

// Start-up, before the pages exist: sets chineseUi and chineseSkin from the
// skin type, loads the skin's language (Chinese or English) and tells the
// burner. Returns the flag bitmap the language control shows.
int applySkinType(LanguageContext& context);

// What applying a language does to the state: chineseUi is cleared; a number
// 1..12 sets languageNumber and chineseUi from the table and loads its file
// from the program folder. The table row, or nullptr outside 1..12.
const Language* loadLanguage(LanguageContext& context, int32_t number);

// What the main window must do after a language message.
struct LanguageActions {
    bool ignored = false;        // not a message it acts on
    int flagBitmap = 0;          // bitmap for the language control; 0 leaves it
    bool refreshLabels = false;  // ApplyLabels
    bool closePopup = false;     // post WM_CLOSE to the popup if it still exists
    bool forgetPopup = false;
};

// The language message (1025): lParam 0 is the popup's closing notice; other
// numbers are applied and written to Language.cfg, at start-up or while the
// popup is open.
LanguageActions applyLanguage(LanguageContext& context, uint32_t wParam, int32_t number, bool popupOpen);

}  // namespace q30x
