#pragma once
#include <string_view>

namespace q30x {

inline constexpr int kGamePresetCount = 21;
inline constexpr int kCustomGamePreset = 21;  // the user's own group, shown after start-up

// A game group's texts. The menu text and the button caption come from
// separate string sets and differ in a few places, trailing spaces and
// spelling included.
struct GamePreset {
    int number;
    std::u16string_view chineseMenu, chineseCaption, englishMenu, englishCaption;
};

inline constexpr GamePreset kGamePresets[kGamePresetCount] = {
    {1, u"战地 3 ", u"战地 3", u"Battlefield 3 ", u"Battlefield 3"},
    {2, u"星球大战:旧共和国", u"星球大战:旧共和国", u"Star Wars: The Old Republic", u"Star Wars: The Old Republic"},
    {3, u"反恐精英:全球攻势", u"反恐精英:全球攻势", u"Counter-Strike: Global Offensive",
     u"Counter-Strike: Global Offensive"},
    {4, u"上古卷轴5：天际", u"上古卷轴5：天际", u"Elder Scrolls V: Skyrim", u"Elder Scrolls V: Skyrim"},
    {5, u"军团要塞2", u"军团要塞 2", u"Team Fortress 2", u"Team Fortress 2"},
    {6, u"蝙蝠侠：阿甘之城", u"蝙蝠侠：阿甘之城", u"Batman Arkham City", u"Batman Arkham City"},
    {7, u"文明 5 ", u"文明 5 ", u"Civilization 5 ", u"Civilization 5 "},
    {8, u"坦克世界", u"坦克世界", u"World of Tanks", u"World of Tanks"},
    {9, u"无主之地 2", u"无主之地 2", u"Borderlands 2", u"Borderlands 2"},
    {10, u"纪元 2070：雷诺起源", u"纪元 2070：雷诺起源", u"Anno 2070", u"Anno 2070"},
    {11, u"英雄联盟(LOL)", u"英雄联盟(LOL)", u"League of Legends", u"League of Legends"},
    {12, u"足球经理 2013 (EA)", u"足球经理 2013 (EA)", u"Football Manager 2013 (EA)", u"Football Manager 2013 (EA)"},
    {13, u"远古遗迹守卫2（Dota 2） ", u"远古遗迹守卫2（Dota 2）", u"Dota 2 ", u"Dota 2 "},
    {14, u"战地 4", u"战地 4", u"Battlefield 4", u"Battlefield 4"},
    {15, u"战机世界", u"战机世界", u"World of Warplanes", u"World of Warplanes"},
    {16, u"足球经理 2013 (SEGA)", u"足球经理 2013 (SEGA)", u"Football Manager 2013 (SEGA)",
     u"Football Manager 2013 (SEGA)"},
    {17, u"我的世界", u"我的世界", u"Minecraft", u"Minecraft"},
    {18, u"无冬之夜", u"无冬之夜", u"Neverwinter", u"Neverwinter"},
    {19, u"流亡黯道", u"流亡黯道", u"Path of Exile", u"Path of Exile"},
    {20, u"战争雷霆", u"战争雷霆", u"War Thunder", u"War Thunder"},
    {21, u"玩家自定义", u"玩家自定义", u"Customize", u"Customisze"},
};

// The game button's caption of group n; empty outside 1..21.
constexpr std::u16string_view gamePresetCaption(int number, int chineseUi) {
    if (number < 1 || number > kGamePresetCount) return {};
    const GamePreset& preset = kGamePresets[number - 1];
    return chineseUi ? preset.chineseCaption : preset.englishCaption;
}

}  // namespace q30x
