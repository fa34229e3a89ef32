#include "device/firmware_version.h"

namespace q30x {

std::optional<int> firmwareVersionFromAnswer(std::span<const uint8_t> answer) {
    if (answer.size() < 4 || answer[1] != kFirmwareVersionCommand) return std::nullopt;
    return answer[2] * 10 + answer[3];
}

std::u16string firmwareVersionText(std::optional<int> version) {
    if (!version || *version == 0) return {};
    std::u16string text;
    for (char c : std::to_string(*version)) text += static_cast<char16_t>(c);
    return text;
}

std::u16string firmwareVersionLabel(std::u16string_view text) {
    if (text.empty()) return u"Unknown";
    std::u16string_view third = text.substr(text.size() - 1);
    std::u16string_view second = text.size() >= 2 ? text.substr(text.size() - 2, 1) : u"0";
    std::u16string_view first = text.size() >= 3 ? text.substr(0, text.size() - 2) : u"0";
    std::u16string label = u"V ";
    label.append(first).append(u".").append(second).append(u".").append(third);
    return label;
}

}  // namespace q30x
