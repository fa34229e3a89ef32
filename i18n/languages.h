#pragma once
#include <array>
#include <string_view>

namespace q30x {

// The twelve interface languages, by number.
struct Language {
    int number;
    std::u16string_view popupText;
    int popupIcon;   // PNG resource of the popup item
    int flagBitmap;  // bitmap resource of the main window's language control
    std::string_view file;  // relative to the program folder
    int chineseUi;
};

inline constexpr std::array<Language, 12> kLanguages = {{
    {1, u"Chinese", 130, 142, "Language/sc.xml", 1},
    {2, u"English", 131, 143, "Language/en.xml", 0},
    {3, u"French", 132, 144, "Language/fre.xml", 0},
    {4, u"Korean", 133, 145, "Language/kor.xml", 0},
    {5, u"German", 134, 146, "Language/ger.xml", 0},
    {6, u"Italian", 135, 147, "Language/ita.xml", 0},
    {7, u"Spanish", 136, 148, "Language/span.xml", 0},
    {8, u"Dutch", 137, 149, "Language/dutch.xml", 0},
    {9, u"Portuguese", 138, 150, "Language/pt.xml", 0},
    {10, u"Russian", 139, 151, "Language/rus.xml", 0},
    {11, u"Ukrainian", 140, 152, "Language/ukr.xml", 0},
    {12, u"Trad.Chinese", 141, 153, "Language/tw.xml", 0},
}};

// The language with that number, or nullptr outside 1..12.
constexpr const Language* findLanguage(int number) {
    return number >= 1 && number <= 12 ? &kLanguages[static_cast<std::size_t>(number - 1)] : nullptr;
}

}  // namespace q30x
