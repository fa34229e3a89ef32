#pragma once
#include <QString>
#include <string_view>

namespace q30x {

// A text of the core (UTF-16) as the windows show it.
inline QString qtext(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace q30x
