// Any bytes as "Language.cfg": the start-up reads the number and applies it
// as the language message does; a number of the table loads that language's
// file and is written back, anything else leaves the texts alone.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "i18n/language_choice.h"

using namespace q30x;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::installLanguageFiles();
    fuzz::writeInput(fuzz::folders().working, filenames::kLanguage, data, size);
    fuzz::SilentMessages messages;
    LanguageState language;
    StringCatalogue strings;
    LanguageContext context{fuzz::folders(), messages, language, strings};

    const int32_t number = readLanguageChoice(fuzz::folders(), messages);
    const LanguageActions actions = applyLanguage(context, kLanguageAtStartUp, number, false);
    if (number == 0) {
        fuzz::expect(actions.forgetPopup && !actions.refreshLabels, "language 0 to be the popup's closing notice");
        return 0;
    }
    fuzz::expect(actions.refreshLabels && !actions.closePopup, "a start-up language to refresh the labels");
    if (const Language* chosen = findLanguage(number)) {
        fuzz::expect(language.languageNumber == number && actions.flagBitmap == chosen->flagBitmap,
                     "a language of the table to become current");
        fuzz::expect(strings.found(0), "the language's file to load");
    } else {
        fuzz::expect(language.languageNumber == 0 && actions.flagBitmap == 0 && !strings.found(0),
                     "a number outside the table to change no language");
    }
    fuzz::expect(readLanguageChoice(fuzz::folders(), messages) == number, "the number written back");
    return 0;
}
