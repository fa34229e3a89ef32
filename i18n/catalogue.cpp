#include "i18n/catalogue.h"

namespace q30x {

const std::u16string& StringCatalogue::text(std::string_view key) const {
    static const std::u16string empty;
    std::size_t index = catalogueIndex(key);
    return index < entries_.size() ? entries_[index] : empty;
}

void StringCatalogue::clear() {
    for (auto& entry : entries_) entry.clear();
}

}  // namespace q30x
