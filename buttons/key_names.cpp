#include "buttons/key_names.h"

#include "buttons/key_codes.h"
#include "platform/ascii.h"

namespace q30x {
namespace {

struct FixedName {
    uint8_t virtualKey;
    const char16_t* combination;  // nullptr: by the layout
    const char16_t* macro;        // nullptr: by the layout
};

constexpr FixedName kFixedNames[] = {
    {0x00, u"", nullptr},
    {0xFF, u"", nullptr},
    {0x01, nullptr, u"Left Button"},
    {0x02, nullptr, u"Right Button"},
    {0x04, nullptr, u"Middle Button"},
    {0x08, u"Backspace", u"Backspace"},
    {0x09, u"Tab", u"Tab"},
    {0x0D, u"Enter", u"Enter"},
    {0x10, u"Shift", u"Shift"},
    {0x11, u"Ctrl", u"Ctrl"},
    {0x12, u"Alt", u"Alt"},
    {0x13, u"Pause", u"Pause"},
    {0x14, u"CapsLock", u"CapsLock"},
    {0x1B, u"Esc", u"Esc"},
    {0x20, u"Space", u"Space"},
    {0x21, u"PageUp", u"PageUp"},
    {0x22, u"PageDown", u"PageDown"},
    {0x23, u"End", u"End"},
    {0x24, u"Home", u"Home"},
    {0x25, u"Left", u"Left"},
    {0x26, u"Up", u"Up"},
    {0x27, u"Right", u"Right"},
    {0x28, u"Down", u"Down"},
    {0x2C, u"PrtSc SysRq", u"PrtSc SysRq"},
    {0x2D, u"Insert", u"Insert"},
    {0x2E, u"Delete", u"Delete"},
    {0x5B, u"LWin", u"LWin"},
    {0x5C, u"RWin", u"RWin"},
    {0x5D, u"App", u"App"},
    {0x6A, u"(*)", u"NUM *"},
    {0x6B, u"(+)", u"NUM +"},
    {0x6D, u"(-)", u"NUM -"},
    {0x6E, u"(.)", u"NUM ."},
    {0x6F, u"(/)", u"NUM /"},
    {0x90, u"Numlock", u"Numlock"},
    {0x91, u"Scroll Lock", u"Scroll Lock"},
    {0xA0, u"LShift", u"LShift"},
    {0xA1, u"RShift", u"RShift"},
    {0xA2, u"LCtrl", u"LCtrl"},
    {0xA3, u"RCtrl", u"RCtrl"},
    {0xA4, u"LAlt", u"LAlt"},
    {0xA5, u"RAlt", u"RAlt"},
};

// Digits, letters, the keypad digits and F1..F12 follow their code.
bool rangeName(uint32_t vk, KeyNameStyle style, std::u16string& name) {
    if ((vk >= 0x30 && vk <= 0x39) || (vk >= 0x41 && vk <= 0x5A)) {
        name = std::u16string(1, static_cast<char16_t>(vk));
    } else if (vk >= 0x60 && vk <= 0x69) {
        char16_t digit = static_cast<char16_t>(u'0' + (vk - 0x60));
        name = style == KeyNameStyle::Combination ? std::u16string{u'(', digit, u')'} : u"NUM " + std::u16string(1, digit);
    } else if (vk >= 0x70 && vk <= 0x7B) {
        name = u"F";
        unsigned number = vk - 0x70 + 1;
        if (number >= 10) name += static_cast<char16_t>(u'0' + number / 10);
        name += static_cast<char16_t>(u'0' + number % 10);
    } else {
        return false;
    }
    return true;
}

std::u16string layoutName(uint32_t vk, int languageNumber, const KeyboardLayout& layout) {
    uint16_t code = evdevCodeOfVirtualKey(vk, languageNumber);
    if (code == 0) return {};
    char32_t c = layout.unshiftedCharacter(code);
    // Control characters (Tab, Enter, Esc) print nothing readable.
    if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return {};
    if (c >= U'a' && c <= U'z') c -= U'a' - U'A';
    if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
    c -= 0x10000;
    return {static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
}

}  // namespace

std::u16string keyName(uint32_t virtualKey, KeyNameStyle style, int languageNumber, const KeyboardLayout& layout) {
    for (const FixedName& fixed : kFixedNames) {
        if (fixed.virtualKey != virtualKey) continue;
        const char16_t* name = style == KeyNameStyle::Combination ? fixed.combination : fixed.macro;
        if (name) return name;
        return layoutName(virtualKey, languageNumber, layout);
    }
    std::u16string name;
    if (rangeName(virtualKey, style, name)) return name;
    return layoutName(virtualKey, languageNumber, layout);
}

uint32_t virtualKeyOfName(std::u16string_view name, KeyNameStyle style, int languageNumber, const KeyboardLayout& layout) {
    if (name.empty()) return 0;
    for (uint32_t virtualKey = 1; virtualKey < 0xFF; ++virtualKey)
        if (equalIgnoringAsciiCase(keyName(virtualKey, style, languageNumber, layout), name)) return virtualKey;
    return 0;
}

}  // namespace q30x
