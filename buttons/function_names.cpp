#include "buttons/function_names.h"

#include <array>
#include <utility>

namespace q30x {
namespace {

// The default names in the order of the inputs that carry them.
constexpr std::array<std::pair<std::u16string_view, std::u16string_view>, 7> kDefaultPairs = {{
    {u"单击", u"Click"},
    {u"中键", u"Middle"},
    {u"菜单", u"Menu"},
    {u"前进", u"Forward"},
    {u"后退", u"Back"},
    {u"滚轮前滚", u"Scroll up"},
    {u"滚轮后滚", u"Scroll down"},
}};

std::u16string_view translateWithPair(std::u16string_view label, const std::pair<std::u16string_view, std::u16string_view>& pair,
                                      int chineseUi, bool& matched) {
    matched = chineseUi ? label == pair.second : label == pair.first;
    if (!matched) return label;
    return chineseUi ? pair.first : pair.second;
}

}  // namespace

std::u16string_view functionName(int32_t type, int chineseUi) {
    for (const auto& name : kFunctionNames)
        if (name.type == type) return chineseUi ? name.chinese : name.english;
    return {};
}

bool isBasicFunction(int32_t type) {
    for (const auto& row : kBasicFunctions)
        if (row.type == type) return true;
    return false;
}

std::u16string_view labelTranslation(std::u16string_view label, int chineseUi) {
    for (const auto& pair : kDefaultPairs) {
        bool matched = false;
        std::u16string_view result = translateWithPair(label, pair, chineseUi, matched);
        if (matched) return result;
    }
    return label;
}

std::u16string_view labelTranslationForInput(std::u16string_view label, int index, int chineseUi) {
    if (index < 0 || index >= static_cast<int>(kDefaultPairs.size())) return label;
    bool matched = false;
    return translateWithPair(label, kDefaultPairs[index], chineseUi, matched);
}

}  // namespace q30x
