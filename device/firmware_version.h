#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace q30x {

inline constexpr uint8_t kFirmwareVersionCommand = 0x80;

// The version in a firmware-version answer (byte 0 report id, byte 1 the
// echoed command 0x80, then the version as byte 2 × 10 + byte 3), or nothing
// when the answer is not one.
std::optional<int> firmwareVersionFromAnswer(std::span<const uint8_t> answer);

// The support page's firmwareVersionText: the version in decimal, or empty
// when the mouse did not answer or answered 0.
std::u16string firmwareVersionText(std::optional<int> version);

// How the support page shows that text: "Unknown" when empty, else
// "V a.b.c" filled from the digits from the right, missing places "0"; a
// version of three or more digits keeps every leading digit in the first place.
std::u16string firmwareVersionLabel(std::u16string_view text);

}  // namespace q30x
