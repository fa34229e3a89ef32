#pragma once
#include <cstdint>
#include <string_view>

namespace q30x {

struct FunctionName {
    int32_t type;
    std::u16string_view chinese;
    std::u16string_view english;
};

// Every function type with a fixed name, exact texts included.
inline constexpr FunctionName kFunctionNames[] = {
    {1, u"单击", u"Click"},
    {2, u"菜单", u"Menu"},
    {4, u"中键", u"Middle"},
    {8, u"前进", u"Forward"},
    {16, u"后退", u"Back"},
    {11, u"滚轮前滚", u"Scroll up"},
    {22, u"滚轮后滚", u"Scroll down"},
    {32, u"播放/暂停", u"Play/Pause"},
    {33, u"停止", u"Stop"},
    {34, u"上一曲", u"Previous"},
    {35, u"下一曲", u"Next"},
    {37, u"音量+", u"Volume up"},
    {38, u"音量-", u"Volume down"},
    {39, u"静音", u"Mute"},
    {40, u"音乐", u"Music"},
    {81, u"关闭窗口", u"Close window"},
    {82, u"锁定电脑", u"Lock PC"},
    {84, u"运行", u"Run"},
    {85, u"显示桌面", u"Show desktop"},
    {121, u"禁用按键", u"Disable key"},
    {123, u"进入传统界面", u"Enter classic desktop"},
    {124, u"切换应用程序", u"Switch applications"},
    {125, u"搜索", u"Search"},
    {126, u"放大", u"sreen zoom in"},
    {127, u"缩小", u"sreen zoom out"},
    {142, u"狙击键", u"SNIPE"},
    {143, u"火力", u"FIRE"},
};

// The rows of the assignment popup's basic list, top to bottom: the
// language key that names the row and the function type it assigns.
struct BasicFunction {
    std::string_view key;
    int32_t type;
};

inline constexpr BasicFunction kBasicFunctions[] = {
    {"str_close", 81},         {"str_lock", 82},           {"str_run", 84},          {"str_show", 85},
    {"str_win8_classic", 123}, {"str_win8_switch", 124},   {"str_win8_winp", 126},   {"str_win8_winm", 127},
    {"str_find", 125},         {"str_mouseleft", 1},       {"str_mouseright", 2},    {"str_mousemiddle", 4},
    {"str_pre", 8},            {"str_back", 16},           {"str_player", 40},       {"str_PL", 32},
    {"str_stop", 33},          {"str_pre_media", 34},      {"str_next_media", 35},   {"str_vol_dw", 38},
    {"str_vol_up", 37},        {"str_mute", 39},           {"str_snipe", 142},       {"str_fire", 143},
};

// True for a type the basic list offers.
bool isBasicFunction(int32_t type);

// The name of a function type in the interface wording (Chinese only when
// chineseUi is set); the empty text for a type without a fixed name.
std::u16string_view functionName(int32_t type, int chineseUi);

// The label, swapped to the other wording when it is one of the seven
// default names written in the wrong one.
std::u16string_view labelTranslation(std::u16string_view label, int chineseUi);

// The same, with only the default pair of input `index` (the hint line's rule).
std::u16string_view labelTranslationForInput(std::u16string_view label, int index, int chineseUi);

}  // namespace q30x
