#pragma once
#include <string>

#include "i18n/catalogue.h"
#include "settings/profile_record.h"

namespace q30x {

// Hints 19..25 name the profile's seven inputs by their labels.
inline constexpr int kFirstLabelHint = 19;

// The hint line's text for a hint number. A label hint first rewrites a
// default name written in the other wording into the current one, in the
// record itself, so the pages show the same name afterwards.
std::u16string hintText(int hint, const StringCatalogue& strings, ProfileRecord& record, int chineseUi);

}  // namespace q30x
