#include "pages/main_set_model.h"

#include <algorithm>

namespace q30x::mainset {

DpiChecks dpiChecks(const ProfileRecord& profile) {
    DpiChecks checks{};
    for (int slot = 0; slot < kMaxDpiLevels; ++slot)
        for (std::size_t i = 0; i < kOfferedDpiValues.size(); ++i)
            if (kOfferedDpiValues[i] == profile.dpiLevels[slot]) checks[i] = true;
    return checks;
}

bool clickDpi(DpiChecks& checks, std::size_t index) {
    const auto chosen = std::count(checks.begin(), checks.end(), true);
    bool& level = checks.at(index);
    if (level ? chosen == 1 : chosen >= kMaxDpiLevels) return false;
    level = !level;
    return true;
}

DpiChoice chooseDpiLevels(std::span<const int32_t> values) {
    DpiChoice choice;
    for (int32_t value : values) {
        const auto* at = std::find(kOfferedDpiValues.begin(), kOfferedDpiValues.end(), value);
        const auto index = static_cast<std::size_t>(at - kOfferedDpiValues.begin());
        choice.refusal = at == kOfferedDpiValues.end() ? DpiRefusal::NotOffered
                         : choice.checks[index]        ? DpiRefusal::Repeated
                         : !clickDpi(choice.checks, index) ? DpiRefusal::TooMany
                                                           : DpiRefusal::None;
        if (choice.refusal != DpiRefusal::None) {
            choice.value = value;
            return choice;
        }
    }
    if (values.empty()) choice.refusal = DpiRefusal::NoLevel;
    return choice;
}

void writeDpiLevels(ProfileRecord& profile, const DpiChecks& checks) {
    std::fill(std::begin(profile.dpiLevels), std::end(profile.dpiLevels), 0);
    int slot = 0;
    for (std::size_t i = 0; i < checks.size(); ++i)
        if (checks[i]) profile.dpiLevels[slot++] = kOfferedDpiValues[i];
}

int rateIndex(int32_t interval) {
    const auto* at = std::find(kRateIntervals.begin(), kRateIntervals.end(), interval);
    return at == kRateIntervals.end() ? -1 : static_cast<int>(at - kRateIntervals.begin());
}

int wheelFieldValue(int32_t stored) { return std::clamp<int32_t>(stored, kMinWheelLines, kMaxWheelLines); }

int wheelValueOfText(std::u16string_view text) {
    const auto digits = text.find_first_not_of(u'0');
    if (digits == std::u16string_view::npos) return kMinWheelLines;  // empty, or only zeros
    int value = 0;
    for (char16_t c : text.substr(digits)) {
        if (c < u'0' || c > u'9') break;
        // Capped as it grows, so a long run of digits cannot overflow.
        value = std::min(value * 10 + (c - u'0'), kMaxWheelLines);
    }
    return std::max(value, kMinWheelLines);
}

std::u16string_view sectionTitle(std::u16string_view hint) {
    std::u16string_view title = hint.substr(0, hint.find_first_of(u":\uFF1A"));
    // French sets a space before the colon.
    while (!title.empty() && title.back() == u' ') title.remove_suffix(1);
    return title;
}

}  // namespace q30x::mainset
