#include "platform/charset.h"

#include <cerrno>
#include <iconv.h>

namespace q30x {
namespace {

void appendUtf16Le(std::u16string& out, const char* bytes, std::size_t size) {
    for (std::size_t i = 0; i + 1 < size; i += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
}

}  // namespace

std::optional<std::u16string> convertToUtf16(const std::string& charset, std::span<const uint8_t> bytes) {
    iconv_t cd = ::iconv_open("UTF-16LE", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::u16string out;
    out.reserve(bytes.size());
    char buffer[4096];
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        int err = errno;
        appendUtf16Le(out, buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1) || err == E2BIG) continue;
        out += u'\uFFFD';
        if (err != EILSEQ) break;  // EINVAL: a sequence cut off at the end
        ++in;
        --inLeft;
    }
    // Stateful charsets may still hold output at the end.
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    appendUtf16Le(out, buffer, static_cast<std::size_t>(outPtr - buffer));
    ::iconv_close(cd);
    return out;
}

}  // namespace q30x
