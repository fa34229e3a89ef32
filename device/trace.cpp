#include "device/trace.h"

#include <ostream>

namespace q30x {

std::string hexBytes(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

void Trace::transfer(std::string_view kind, std::span<const uint8_t> bytes, bool ok) {
    std::string text(kind);
    text += ' ';
    text += hexBytes(bytes);
    if (!ok) text += " FAILED";
    line(text);
}

void Trace::sleep(uint32_t ms) { line("SLEEP " + std::to_string(ms)); }

void Trace::desktop(int action, std::span<const int32_t> values) {
    std::string text = "DESKTOP " + std::to_string(action);
    for (int32_t value : values) text += ' ' + std::to_string(value);
    line(text);
}

void Trace::line(const std::string& text) {
    std::lock_guard lock(mutex_);
    // Flushed per line so a trace survives a crash up to its last transfer.
    out_ << text << '\n' << std::flush;
}

}  // namespace q30x
