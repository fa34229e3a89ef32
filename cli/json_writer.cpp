#include "cli/json_writer.h"

#include <cmath>
#include <cstdio>

namespace q30x::cli {

JsonWriter& JsonWriter::value(double number) {
    separate();
    if (!std::isfinite(number)) {
        out_ << "null";  // JSON has no infinity or NaN
        return *this;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", number);
    out_ << buffer;
    return *this;
}

JsonWriter& JsonWriter::open(char opener) {
    separate();
    out_ << opener;
    levels_.push_back({opener == '{' ? '}' : ']'});
    return *this;
}

JsonWriter& JsonWriter::close(char closer) {
    if (levels_.empty() || levels_.back().closer != closer) return *this;  // unbalanced: ignore, keep the output valid
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty) newline();
    out_ << closer;
    return *this;
}

void JsonWriter::separate() {
    written_ = true;
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) return;
    if (!levels_.back().empty) out_ << ",";
    levels_.back().empty = false;
    newline();
}

void JsonWriter::newline() { out_ << "\n" << std::string(2 * levels_.size(), ' '); }

// Decodes one UTF-8 sequence at `i`; returns its length, or 0 when the bytes
// there are not a valid, shortest-form sequence of a scalar value.
static std::size_t validSequence(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                            : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (!length || i + length > text.size()) return 0;
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = code << 6 | (byte(i + k) & 0x3F);
    }
    static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

void JsonWriter::writeString(std::string_view text) {
    out_ << '"';
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = validSequence(text, i);
        if (!length) {
            out_ << "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') {
            out_ << '\\' << static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out_ << escaped;
        } else {
            out_.write(text.data() + i, static_cast<std::streamsize>(length));
        }
        i += length;
    }
    out_ << '"';
}

}  // namespace q30x::cli
