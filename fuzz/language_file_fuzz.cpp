// Any bytes as a language file of the program folder, loaded through the
// catalogue as choosing a language does: the texts must depend on the file
// alone (not on what was loaded before), and every use of them, and every
// navigation of the document, must neither crash nor read out of bounds.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/hints.h"
#include "fuzz/fuzz_support.h"
#include "i18n/language_choice.h"
#include "platform/utf16.h"

using namespace q30x;

namespace {

// Every child's text at each level, stepping down along the last children,
// then every element along the top level.
void walk(XmlDocument document) {
    document.Rewind();
    for (int depth = 0; depth < 64; ++depth) {
        int children = 0;
        while (children < 10000 && document.FindChild()) {
            document.ChildText();
            ++children;
        }
        if (children == 0 || !document.EnterChild()) break;
    }
    document.Rewind();
    while (document.FindElement()) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::installLanguageFiles();
    constexpr int kEnglish = 2;
    const std::string path =
        fuzz::writeInput(fuzz::folders().program, std::string(findLanguage(kEnglish)->file), data, size);
    // The program keeps one catalogue and loads language after language into it.
    static StringCatalogue held;
    fuzz::SilentMessages messages;
    LanguageState language;
    LanguageContext context{fuzz::folders(), messages, language, held};
    loadLanguage(context, kEnglish);

    StringCatalogue fresh;
    fresh.LoadCatalogue(path);
    for (std::size_t i = 0; i < kCatalogueKeys.size(); ++i) {
        fuzz::expect(held.entry(i) == fresh.entry(i) && held.found(i) == fresh.found(i),
                     "the texts to depend on the file alone");
        toUtf8(held.entry(i));
    }
    for (auto key : {"str_msg2", "str_msg4", "str_msg5"}) formatText(held.messageText(key), u"/some/path");
    auto record = std::make_unique<ProfileRecord>();
    fillProfileDefaults(*record, language.chineseUi);
    for (int hint = 0; hint <= 100; ++hint) hintText(hint, held, *record, language.chineseUi);
    walk(held.document());
    return 0;
}
