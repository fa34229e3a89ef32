#include "app/hints.h"

#include "buttons/function_names.h"
#include "platform/utf16.h"

namespace q30x {

std::u16string hintText(int hint, const StringCatalogue& strings, ProfileRecord& record, int chineseUi) {
    const int input = hint - kFirstLabelHint;
    if (input >= 0 && input < kButtonCount) {
        auto& label = record.buttons[static_cast<std::size_t>(input)].label;
        const std::u16string rewritten(labelTranslationForInput(fixedText(label), input, chineseUi));
        if (rewritten != fixedText(label)) setFixedText(label, rewritten);
        return rewritten;
    }
    const std::size_t entry = hintEntry(hint);
    return entry < kCatalogueKeys.size() ? strings.entry(entry) : std::u16string();
}

}  // namespace q30x
