#pragma once
#include <QString>
#include <string_view>

namespace q30x {

// A catalogue or built-in text as the pages paint it.
inline QString pageText(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace q30x
