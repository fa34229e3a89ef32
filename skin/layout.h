#pragma once
#include <array>
#include <cstdint>
#include <string_view>

// Control rectangles and image sizes of the skinned windows. The window code
// places its controls from these tables and skingen draws the art from the
// same ones, so a button can never sit beside its picture. No Qt here.
namespace q30x::layout {

struct Rect {
    int left, top, right, bottom;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
};

struct Size {
    int width, height;
};

// The two coordinate sets; the window picks one from chineseUi at creation.
enum class SkinSet { Chinese, Standard };

// A rectangle that differs between the two sets.
struct SetRect {
    Rect chinese;
    Rect standard;
    constexpr const Rect& in(SkinSet set) const { return set == SkinSet::Chinese ? chinese : standard; }
};

// Built-in bitmaps and icons, by resource number.
namespace res {
inline constexpr int kAppIcon = 128;
inline constexpr int kLanguagePopup = 129;
inline constexpr int kFirstFlagIcon = 130;    // 130..141, one per language
inline constexpr int kFirstFlagBitmap = 142;  // 142..153
inline constexpr int kInfoQuestionPressed = 1004;
inline constexpr int kInfoOkPressed = 1005;
inline constexpr int kInfoQuestionNormal = 1006;
inline constexpr int kInfoOkNormal = 1007;
inline constexpr int kInfoQuestionHover = 1008;
inline constexpr int kInfoOkHover = 1009;
inline constexpr int kTrayExit = 1011;
inline constexpr int kTrayConfig = 1012;
}  // namespace res

inline constexpr Size kAppIconSize{64, 64};
// The application icon for the desktop, icons/hicolor/<N>x<N>/apps/q30x.png.
inline constexpr std::array<int, 6> kDesktopIconSizes{16, 32, 48, 64, 128, 256};
inline constexpr Size kFlagIconSize{20, 14};
inline constexpr Size kFlagBitmapSize{36, 23};
inline constexpr Size kTrayIconSize{16, 16};

// Message box (CDlgInfo): three 330 x 160 images per mode.
namespace info {
inline constexpr Size kSize{330, 160};
inline constexpr Rect kClose{300, 0, 329, 29};
inline constexpr Rect kQuestionOk{178, 127, 244, 159};
inline constexpr Rect kQuestionCancel{245, 127, 311, 159};
inline constexpr Rect kOkOnly{240, 127, 306, 159};
inline constexpr Rect kText{90, 73, 305, 91};
inline constexpr Rect kTitle{10, 9, 100, 23};
inline constexpr uint32_t kTextColour = 0x676153;  // COLORREF (0x00BBGGRR)
}  // namespace info

// Progress window (CDlgProgress): skins/ProgressBar/Progress_{Normal,Over}.png.
namespace progress {
inline constexpr Size kSize{330, 80};
inline constexpr Rect kBar{35, 47, 295, 56};
inline constexpr Rect kText{35, 20, 345, 60};  // x 35, y 20, width 310, height 40
inline constexpr int kBarId = 777;
}  // namespace progress

// Slider thumb skins/Slider.png; its pixel (0,0) is the key colour that
// shapes it.
namespace slider {
inline constexpr Size kThumb{11, 17};
inline constexpr uint32_t kKeyColour = 0xFF00FF;  // RGB
}  // namespace slider

// Popup list window (CMenuEx): items at (6, y, 110, y + 22) from y = 6.
namespace popup {
inline constexpr int kWidth = 116;
inline constexpr int kItemLeft = 6;
inline constexpr int kItemRight = 110;
inline constexpr int kFirstItemTop = 6;
inline constexpr int kItemHeight = 22;
inline constexpr int kBottomMargin = 3;
inline constexpr int kCorner = 32;  // nine-slice corners of the background
inline constexpr Size kBackground{116, 273};
constexpr int heightFor(int items) { return kFirstItemTop + items * kItemHeight + kBottomMargin; }
static_assert(heightFor(12) == 273, "the language popup measures 116 x 273");
}  // namespace popup

// Tray menu items (CXPMenu).
namespace xpmenu {
inline constexpr Size kItem{75, 22};
inline constexpr int kIconStrip = 25;
inline constexpr int kTextLeft = 33;
}  // namespace xpmenu

// Drop-down menu library bitmaps, skins/Menu/*.BMP; one item of height 24.
namespace menu {
inline constexpr Size kItem{120, 24};
inline constexpr std::array<std::string_view, 6> kFiles = {
    "MenuNorL.BMP", "MenuOverL.BMP", "MenuDownL.BMP",
    "MenuNorHaveSub.BMP", "MenuOverHaveSub.BMP", "MenuDownHaveSub.BMP",
};
}  // namespace menu

// Skinned scroll bars (CSkinScrollBar): built-in bitmap 166, a grid of 9 x 3
// cells whose width is also the thickness of a bar. The one pixel column
// past the ninth cell is never cut.
namespace scrollbar {
inline constexpr int kBitmap = 166;
inline constexpr Size kBitmapSize{163, 54};
inline constexpr int kColumns = 9;
inline constexpr int kRows = 3;  // normal, pointer over, pressed
inline constexpr int kCell = kBitmapSize.width / kColumns;
static_assert(kCell == 18 && kBitmapSize.height == kRows * kCell, "bitmap 166 holds 9 x 3 cells of 18");
// Columns: vertical up, down, thumb, track; horizontal left, right, thumb,
// track; the corner (row 0 with the vertical bar on the right, row 1 on the
// left).
enum Column { kUp, kDown, kVThumb, kVTrack, kLeft, kRight, kHThumb, kHTrack, kCorner };
inline constexpr int kThumbEnd = 3;  // thumb ends drawn unscaled
}  // namespace scrollbar

// Kind icons of the owner-drawn list box (CListBoxEx), skins/<file>, drawn
// at 16 x 16: kinds 2 key up, 3 key down, 4 delay.
namespace listbox {
inline constexpr Size kIconSize{16, 16};
struct KindIcons {
    int kind;
    std::string_view normal, selected;
};
inline constexpr std::array<KindIcons, 3> kIcons = {{
    {2, "up_normal.png", "up_select.png"},
    {3, "down_normal.png", "down_select.png"},
    {4, "delay_normal.png", "delay_select.png"},
}};
}  // namespace listbox


// Main window (CQ52XDriverDlg): skins/Main_{Normal,Down,Over}.bmp give the
// background and the three rectangular buttons; the built-in full-window
// bitmaps 154..159 give the eleven slanted buttons.
namespace mainwin {
inline constexpr Size kSize{960, 650};
inline constexpr Rect kMinimize{887, 2, 921, 33};
inline constexpr Rect kHide{922, 2, 956, 33};
inline constexpr Rect kLanguage{15, 617, 57, 635};
inline constexpr Rect kFlag{19, 592, 55, 615};  // control 1010
inline constexpr Rect kPages{15, 128, 940, 580};
inline constexpr Rect kHintLine{67, 598, 300, 628};
inline constexpr uint32_t kHintColour = 0xBEBEBE;  // COLORREF
// The three full-window images under "skins/": normal, pressed, hover.
inline constexpr std::array<std::string_view, 3> kFiles = {"Main_Normal.bmp", "Main_Down.bmp", "Main_Over.bmp"};

struct Point {
    int x, y;
};
using Quad = std::array<Point, 4>;

inline constexpr std::array<Quad, 5> kTabs = {{
    {{{30, 85}, {189, 85}, {210, 121}, {30, 121}}},
    {{{193, 85}, {375, 85}, {396, 121}, {214, 121}}},
    {{{377, 85}, {559, 85}, {579, 121}, {399, 121}}},
    {{{562, 85}, {743, 85}, {764, 121}, {583, 121}}},
    {{{747, 85}, {928, 85}, {928, 121}, {768, 121}}},
}};
inline constexpr std::array<Quad, 5> kProfiles = {{
    {{{342, 608}, {435, 608}, {414, 635}, {321, 635}}},
    {{{439, 608}, {533, 608}, {512, 635}, {417, 635}}},
    {{{536, 608}, {628, 608}, {605, 635}, {513, 635}}},
    {{{630, 608}, {723, 608}, {700, 635}, {607, 635}}},
    {{{725, 608}, {818, 608}, {795, 635}, {703, 635}}},
}};
inline constexpr Quad kOk = {{{841, 591}, {940, 591}, {940, 632}, {806, 632}}};

// The eleven slanted buttons' full-window pictures: normal, pressed, hover
// (the disabled look is the normal one).
namespace res {
inline constexpr int kChineseNormal = 154, kChineseHover = 155, kChinesePressed = 156;
inline constexpr int kStandardNormal = 157, kStandardHover = 158, kStandardPressed = 159;
}  // namespace res
}  // namespace mainwin

// The five pages share one size: the main window's page rectangle.
inline constexpr Size kPageSize{mainwin::kPages.width(), mainwin::kPages.height()};

// The three full-page images of each page under "skins/": normal, pressed, hover.
namespace pages {
using Files = std::array<std::string_view, 3>;
inline constexpr Files kMainSet = {"Q30X_Main_Normal.bmp", "Q30X_Main_Down.bmp", "Q30X_Main_Over.bmp"};
inline constexpr Files kLedSet = {"Light/LedSet_normal.bmp", "Light/LedSet_down.bmp", "Light/LedSet_over.bmp"};
inline constexpr Files kMacro = {"Macro_normal.bmp", "Macro_down.bmp", "Macro_over.bmp"};
inline constexpr Files kSts = {"Sts_Normal.bmp", "Sts_Down.bmp", "Sts_Over.bmp"};
inline constexpr Files kSupport = {"support_normal.bmp", "support_down.bmp", "support_over.bmp"};
}  // namespace pages

// Statistics page (CDlgSts) on pages::kSts. The values stand in a column
// that the Chinese skin set draws further right; the controls sit at the
// same place in both sets.
namespace sts {
inline constexpr SetRect same(Rect r) { return {r, r}; }
inline constexpr SetRect kTrophy = same({309, 0, 607, 451});
inline constexpr SetRect kReset = same({703, 379, 832, 410});
// The bar's rectangle before the first paint; the paint gives it its length.
inline constexpr SetRect kLevelBar = same({630, 62, 901, 74});
inline constexpr int kLevelBarLeft = 631, kLevelBarTop = 62, kLevelBarBottom = 77;
inline constexpr int kLevelBarFullWidth = 273;
inline constexpr int kLampCount = 13;  // one per trophy level
inline constexpr Size kLamp{43, 50};
constexpr Rect lamp(int i) {
    const int left = 647 + 50 * (i % 5), top = 132 + 58 * (i / 5);
    return {left, top, left + kLamp.width, top + kLamp.height};
}
// Values top to bottom: left, middle, right, clicks total, wheel forward,
// wheel backward, scrolls total, distance.
inline constexpr int kValueCount = 8;
constexpr SetRect value(int row) {
    constexpr std::array<std::array<int, 2>, kValueCount> kRows = {
        {{85, 106}, {119, 139}, {152, 172}, {183, 203}, {250, 270}, {284, 304}, {319, 339}, {384, 404}}};
    const auto [top, bottom] = kRows[static_cast<std::size_t>(row)];
    const bool distance = row == kValueCount - 1;
    return {{distance ? 187 : 167, top, distance ? 262 : 242, bottom}, {152, top, 227, bottom}};
}
inline constexpr uint32_t kValueColour = 0xDCDCDC;  // COLORREF
// Painted headings: the counters ("str_sts") and the trophies ("str_cups").
inline constexpr SetRect kCountersTitle = same({30, 30, 290, 56});
inline constexpr SetRect kTrophiesTitle = same({631, 26, 904, 52});
// The picture of level n under "skins/": "trophy/trophy<n>Down.bmp".
inline constexpr std::string_view kTrophyFormat = "trophy/trophy%1Down.bmp";
}  // namespace sts

// Support page (CDlgSupport) on pages::kSupport: the same in every language.
namespace support {
using sts::same;
inline constexpr SetRect kUpdate = same({405, 264, 520, 293});
inline constexpr SetRect kWeb = same({711, 264, 826, 293});
inline constexpr SetRect kImport = same({134, 389, 224, 420});
inline constexpr SetRect kExport = same({234, 389, 324, 420});
inline constexpr SetRect kDefault = same({785, 388, 873, 417});
inline constexpr SetRect kProgramVersionArea = same({77, 110, 274, 141});
inline constexpr SetRect kFirmwareVersionArea = same({380, 113, 559, 140});
// The versions are painted from these top-left corners, one line each; the
// program's ends before the firmware's column.
inline constexpr SetRect kProgramVersion = same({127, 169, 336, 193});
inline constexpr SetRect kFirmwareVersion = same({440, 169, 687, 193});
// The areas' painted titles ("str_driver_version", "str_firmware_version"),
// as wide as the values below them.
inline constexpr SetRect kProgramTitle = same({77, 110, 336, 141});
inline constexpr SetRect kFirmwareTitle = same({380, 113, 687, 140});
inline constexpr SetRect kPageTitle = same({52, 30, 400, 56});  // "str_about"
inline constexpr uint32_t kVersionColour = 0xC1D2EE;  // RGB
}  // namespace support

// Assignment popup (CSettingDlg): skins/setting/Setting_{Normal,Down,Over}.bmp
// give the popup and its buttons; each of the four tab pages has its own
// three images under skins/<page>/, the page area's size.
namespace setting {
inline constexpr Size kSize{412, 300};
inline constexpr std::array<std::string_view, 3> kFiles = {"setting/Setting_Normal.bmp", "setting/Setting_Down.bmp",
                                                           "setting/Setting_Over.bmp"};
inline constexpr Rect kClose{383, 1, 411, 24};
inline constexpr std::array<Rect, 4> kTabs = {{{0, 37, 110, 64}, {111, 37, 207, 64}, {208, 37, 303, 64}, {304, 37, 412, 64}}};
inline constexpr Rect kPageArea{21, 74, 391, 243};
inline constexpr Rect kDisable{23, 258, 42, 277};
inline constexpr Rect kDefault{238, 254, 315, 289};
inline constexpr Rect kOk{316, 254, 393, 289};
// Painted texts: the title, "current function" with the label, the disable box's text.
inline constexpr Rect kTitle{75, 1, 317, 20};
inline constexpr Rect kCurrent{5, 16, 180, 38};
inline constexpr Rect kDisableText{46, 258, 106, 278};
inline constexpr uint32_t kTitleColour = 0x585F69;  // RGB
inline constexpr uint32_t kTextColour = 0xBDBDC8;
inline constexpr uint32_t kTabCaptionColour = 0x536167;
inline constexpr Size kPageSize{kPageArea.width(), kPageArea.height()};

// Key-combination page (CSetting_SingleComboDlg): the modifier boxes top to
// bottom Ctrl, Alt, Shift, Win, and the captured key's name.
namespace combo {
inline constexpr std::array<std::string_view, 3> kFiles = {"combo/Combo_Normal.bmp", "combo/Combo_Down.bmp",
                                                           "combo/Combo_Over.bmp"};
inline constexpr std::array<Rect, 4> kModifiers = {{{59, 45, 72, 58}, {59, 70, 72, 83}, {59, 94, 72, 108}, {58, 119, 72, 133}}};
// The key-cap names beside the boxes are art: they read the same in every language.
inline constexpr std::array<std::string_view, 4> kModifierNames = {"Ctrl", "Alt", "Shift", "Win"};
inline constexpr Rect kKeyName{170, 77, 326, 100};
inline constexpr uint32_t kKeyNameColour = 0x1794C3;  // RGB
}  // namespace combo

// Macro page (CSetting_MacroDlg): the game list and the macro list.
namespace macro {
inline constexpr std::array<std::string_view, 3> kFiles = {"macro/Macro_Normal.bmp", "macro/Macro_Down.bmp",
                                                           "macro/Macro_Over.bmp"};
inline constexpr Rect kGames{1, 1, 184, 168};
inline constexpr Rect kMacros{188, 1, 369, 168};
inline constexpr int kGamesId = 10001;
inline constexpr int kMacrosId = 10002;
inline constexpr int kItemHeight = 16;
}  // namespace macro

// Basic page (CSetting_BaseDlg): one list, fitted into the page area so that
// its scroll bar is not cut by the page's edge.
namespace base {
inline constexpr std::array<std::string_view, 3> kFiles = {"base/Base_Normal.bmp", "base/Base_Down.bmp",
                                                           "base/Base_Over.bmp"};
inline constexpr Rect kList{0, 0, kPageSize.width, kPageSize.height};
inline constexpr int kListId = 101;
inline constexpr int kItemHeight = 18;
}  // namespace base

// The lists of both pages share one style (RGB).
inline constexpr uint32_t kListBackground = 0x0F0F0F;
inline constexpr uint32_t kListSelectedBackground = 0x252525;
inline constexpr uint32_t kListText = 0x535C6B;
inline constexpr uint32_t kListSelectedText = 0x969696;

// Advanced page (CSetting_AdvanceDlg): one row per action, sound, program,
// file, folder.
namespace advanced {
inline constexpr std::array<std::string_view, 3> kFiles = {"advanced/Advanced_Normal.bmp", "advanced/Advanced_Down.bmp",
                                                           "advanced/Advanced_Over.bmp"};
inline constexpr std::array<Rect, 4> kRadios = {{{21, 37, 38, 54}, {21, 63, 38, 80}, {21, 88, 38, 105}, {21, 114, 38, 131}}};
inline constexpr std::array<Rect, 4> kLabels = {{{41, 36, 127, 56}, {41, 63, 127, 83}, {41, 89, 127, 109}, {41, 116, 127, 136}}};
inline constexpr std::array<Rect, 4> kPaths = {{{124, 36, 263, 52}, {124, 63, 262, 79}, {124, 89, 262, 105}, {124, 116, 262, 132}}};
inline constexpr std::array<Rect, 4> kBrowse = {{{273, 33, 349, 55}, {273, 59, 349, 81}, {273, 86, 349, 108}, {273, 113, 349, 135}}};
inline constexpr uint32_t kLabelColour = 0x585F69;  // RGB
}  // namespace advanced
}  // namespace setting
// Main settings page (CDlgMainSet): page coordinates. Its three skin files
// are pages::kMainSet; the seven slanted button tabs, the slider tracks and
// the wheel edit's background come from the built-in full-page bitmaps
// 160..162 (Chinese set) or 163..165 (standard set).
namespace mainset {
using mainwin::Quad;

inline constexpr int kSpeedSliderId = 2560;
inline constexpr int kHeightSliderId = 2562;
inline constexpr int kWheelEditId = 2563;

// Upper row left to right, then the lower row: the order of kOfferedDpiValues.
inline constexpr std::array<Rect, 14> kDpi = {{
    {69, 66, 109, 78}, {140, 66, 184, 78}, {206, 66, 251, 79}, {277, 66, 321, 78},
    {347, 66, 394, 78}, {415, 66, 464, 80}, {486, 66, 534, 80},
    {68, 90, 116, 103}, {139, 91, 186, 104}, {205, 91, 254, 103}, {276, 91, 323, 104},
    {346, 91, 393, 103}, {415, 90, 461, 104}, {485, 90, 530, 104},
}};
inline constexpr Rect kSpeedSlider{104, 167, 293, 179};
inline constexpr Rect kPrecision{68, 203, 178, 219};
inline constexpr Rect kHeightSlider{422, 167, 624, 179};
// Left to right: 125, 250, 500 and 1000 Hz.
inline constexpr std::array<Rect, 4> kRates = {{
    {67, 303, 120, 317}, {134, 303, 190, 317}, {201, 303, 261, 317}, {271, 303, 331, 317},
}};
inline constexpr std::array<int, 4> kRateHz = {125, 250, 500, 1000};
inline constexpr SetRect kWheelLines{{406, 331, 558, 345}, {406, 331, 669, 347}};
inline constexpr SetRect kWheelEdit{{574, 333, 590, 358}, {550, 355, 573, 377}};
inline constexpr SetRect kSpinUp{{594, 330, 607, 340}, {573, 350, 588, 361}};
inline constexpr SetRect kSpinDown{{594, 341, 607, 350}, {573, 361, 588, 372}};
inline constexpr SetRect kWheelScreen{{406, 361, 527, 375}, {406, 375, 672, 393}};

// The input markers on the mouse picture, by input index.
inline constexpr std::array<SetRect, 7> kMarkers = {{
    {{761, 137, 787, 162}, {750, 153, 787, 185}},
    {{795, 150, 820, 172}, {795, 150, 820, 172}},
    {{829, 139, 853, 162}, {837, 159, 866, 185}},
    {{726, 218, 749, 241}, {726, 218, 749, 241}},
    {{730, 252, 754, 295}, {730, 252, 754, 295}},
    {{789, 121, 821, 144}, {789, 121, 821, 144}},
    {{798, 175, 820, 198}, {798, 175, 820, 198}},
}};

enum Title { kTitleDpi, kTitlePointer, kTitleSensor, kTitleRate, kTitleWheel, kTitleKeys };
inline constexpr std::array<Rect, 6> kTitles = {{
    {40, 27, 176, 49}, {29, 127, 288, 157}, {372, 129, 568, 154},
    {30, 262, 208, 287}, {374, 263, 661, 287}, {29, 366, 205, 395},
}};

// The button tabs, by input index.
inline constexpr std::array<Quad, 7> kTabs = {{
    {{{19, 408}, {127, 408}, {95, 441}, {19, 441}}},
    {{{130, 408}, {214, 408}, {182, 441}, {98, 441}}},
    {{{218, 408}, {302, 408}, {270, 441}, {186, 441}}},
    {{{306, 408}, {389, 408}, {357, 441}, {274, 441}}},
    {{{393, 408}, {476, 408}, {444, 441}, {361, 441}}},
    {{{481, 408}, {581, 408}, {549, 441}, {449, 441}}},
    {{{586, 408}, {692, 408}, {660, 441}, {554, 441}}},
}};

// Where the texts drawn at run time go. A tick box's or radio's text starts
// kGlyphWidth right of its control; the precision text may run on past its
// box, over the empty page to its right.
inline constexpr int kGlyphWidth = 18;
inline constexpr int kTitleIndent = 11;  // past the title's accent bar
inline constexpr Rect kPrecisionText{kPrecision.left + kGlyphWidth, 203, 352, 219};
inline constexpr Rect kHeightCaption{kHeightSlider.left, 186, kHeightSlider.right, 202};

namespace res {
inline constexpr int kChinesePressed = 160, kChineseNormal = 161, kChineseHover = 162;
inline constexpr int kStandardPressed = 163, kStandardNormal = 164, kStandardHover = 165;
}  // namespace res
}  // namespace mainset
// Lighting page (CDlgLEDSet), both coordinate sets. The rectangles of the
// controls are the system's; the label boxes (where the page draws catalogue
// texts that sit beside no control) are this art's choice.
namespace ledset {
// The mode buttons, by lighting mode 1..6.
inline constexpr std::array<SetRect, 6> kModes = {{
    {{197, 89, 278, 106}, {196, 86, 301, 104}},    // 1 steady
    {{197, 63, 277, 78}, {196, 56, 286, 76}},      // 2 breathing
    {{368, 36, 481, 52}, {450, 26, 665, 46}},      // 3 APM breathing
    {{197, 36, 309, 52}, {197, 28, 407, 47}},      // 4 spectrum
    {{197, 118, 278, 135}, {196, 117, 331, 131}},  // 5 colour cycle
    {{557, 36, 638, 52}, {710, 28, 828, 46}},      // 6 off
}};
inline constexpr SetRect kBreathingSlider{{458, 67, 603, 75}, {570, 61, 714, 70}};
inline constexpr SetRect kBrightnessSlider{{458, 92, 602, 101}, {570, 91, 713, 99}};
inline constexpr SetRect kCustomCycle{{326, 114, 405, 138}, {342, 112, 488, 137}};
inline constexpr std::array<SetRect, 3> kCycleSwatches = {{
    {{431, 114, 456, 139}, {514, 110, 543, 139}},
    {{464, 114, 489, 139}, {547, 110, 576, 139}},
    {{497, 114, 522, 139}, {580, 110, 609, 139}},
}};
inline constexpr SetRect kCycleSpeedSlider{{673, 123, 816, 131}, {428, 146, 572, 153}};
inline constexpr SetRect kProximityOn{{196, 146, 248, 164}, {326, 164, 394, 180}};
inline constexpr SetRect kProximityOff{{324, 147, 375, 163}, {453, 165, 525, 181}};
inline constexpr SetRect kSingleSwatch{{171, 206, 196, 232}, {170, 207, 195, 232}};
// Red, green, blue.
inline constexpr std::array<SetRect, 3> kColourSliders = {{
    {{564, 272, 692, 287}, {571, 279, 698, 287}},
    {{564, 319, 692, 334}, {571, 326, 698, 336}},
    {{564, 354, 692, 379}, {571, 370, 698, 379}},
}};
inline constexpr std::array<Rect, 3> kValueBoxes = {{{713, 275, 738, 290}, {713, 323, 738, 338}, {713, 367, 738, 383}}};
// The colour sliders' thumbs stop this far before the right edge.
inline constexpr int kColourThumbStop = 7;

enum Title { kBacklight, kProximity, kColourSetting, kCurrentColour, kPresetColour, kCustomColour };
inline constexpr std::array<SetRect, 6> kTitles = {{
    {{21, 25, 176, 50}, {21, 25, 176, 50}},
    {{21, 138, 171, 167}, {17, 159, 253, 183}},
    {{25, 166, 404, 195}, {17, 184, 516, 206}},
    {{28, 207, 159, 229}, {28, 207, 159, 229}},
    {{30, 247, 131, 265}, {30, 247, 131, 265}},
    {{482, 239, 631, 260}, {482, 239, 631, 260}},
}};

// The colour wheel, in both sets.
inline constexpr Rect kWheel{771, 264, 891, 383};

// Preset i: column i mod 7, row i div 7.
inline constexpr int kPresetCount = 26;
inline constexpr int kPresetColumns = 7;
constexpr Rect presetRect(int i, SkinSet set) {
    const int c = i % kPresetColumns, r = i / kPresetColumns;
    const int x = 40 * c - (c > 4 ? 1 : 0), y = 258 + 41 * r;
    return set == SkinSet::Chinese ? Rect{x + 140, y - 2, x + 171, y + 31} : Rect{x + 177, y, x + 208, y + 32};
}

// Texts the page draws itself: the speed and brightness labels right-aligned
// before their sliders, and the notes under the preset and custom headings.
enum Label { kBreathingLabel, kBrightnessLabel, kCycleSpeedLabel, kPresetNote, kCustomNote };
inline constexpr std::array<SetRect, 5> kLabels = {{
    {{290, 60, 450, 81}, {300, 55, 562, 77}},
    {{290, 86, 450, 107}, {310, 85, 562, 105}},
    {{527, 116, 667, 138}, {180, 138, 420, 158}},
    {{30, 270, 134, 350}, {30, 270, 166, 350}},
    {{564, 390, 891, 410}, {571, 390, 891, 410}},
}};
}  // namespace ledset

// Macro editor page (CDlgMacro), in page coordinates; its art is
// skins/Macro_{normal,down,over}.bmp (pages::kMacro).
namespace macropage {
constexpr SetRect same(Rect r) { return {r, r}; }
inline constexpr SetRect kGameButton = same({25, 48, 327, 71});
inline constexpr SetRect kMacroList = same({27, 89, 325, 406});
inline constexpr SetRect kMacroFrame = same({26, 87, 324, 406});
inline constexpr SetRect kNewMacro = same({26, 412, 67, 441});
inline constexpr SetRect kDeleteMacro = same({77, 412, 139, 441});
inline constexpr SetRect kEventList = same({345, 51, 626, 406});
inline constexpr SetRect kEventFrame = same({342, 49, 625, 407});
inline constexpr SetRect kEventLabel = same({340, 19, 427, 39});
inline constexpr SetRect kInsert{{361, 412, 391, 441}, {343, 412, 373, 440}};
inline constexpr SetRect kDeleteRow{{394, 412, 424, 441}, {376, 412, 406, 440}};
inline constexpr SetRect kModify{{427, 412, 457, 441}, {409, 412, 439, 440}};
inline constexpr SetRect kRecord = same({783, 22, 899, 53});
inline constexpr SetRect kNoDelay = same({646, 58, 834, 76});
inline constexpr SetRect kLoopField = same({852, 87, 892, 102});
inline constexpr SetRect kLeftPicture{{718, 213, 745, 257}, {715, 185, 740, 207}};
inline constexpr SetRect kMiddlePicture{{754, 205, 782, 256}, {756, 166, 780, 189}};
inline constexpr SetRect kRightPicture{{791, 213, 823, 257}, {802, 186, 825, 209}};
inline constexpr SetRect kKeyOption{{644, 340, 757, 357}, {644, 316, 779, 335}};
inline constexpr SetRect kKeyField{{666, 365, 821, 379}, {664, 340, 823, 358}};
inline constexpr SetRect kKeyConfirm{{852, 362, 892, 383}, {852, 340, 892, 358}};
inline constexpr SetRect kDelayOption{{644, 389, 768, 405}, {644, 364, 790, 382}};
inline constexpr SetRect kDelayField{{666, 415, 821, 428}, {664, 389, 823, 407}};
inline constexpr SetRect kDelayConfirm{{852, 412, 892, 434}, {852, 389, 892, 407}};
inline constexpr SetRect kGroupLabel = same({24, 19, 120, 40});
// The mouse the three button pictures sit on, drawn around them.
inline constexpr SetRect kMouseBody{{700, 190, 840, 330}, {700, 150, 840, 290}};
// Option and switch captions start past their box.
inline constexpr int kBoxSide = 14;
inline constexpr int kCaptionIndent = 22;
inline constexpr int kSmallCaptionIndent = 3;
// A field's sunken frame lies this far around its edit.
inline constexpr int kFieldMarginX = 3, kFieldMarginY = 2;
// The plate of the row editor; where its controls are hidden the page
// shows the bare plate.
inline constexpr uint32_t kEditorPlate = 0x1B1714;
inline constexpr int kEditorMargin = 8;
inline constexpr int kMacroListId = 256;
inline constexpr int kEventListId = 257;
inline constexpr int kItemHeight = 18;
// COLORREF (0x00BBGGRR), as the page's drawing code names its colours.
inline constexpr uint32_t kGameText = 0x676153;
inline constexpr uint32_t kRecordText = 0xD3BB3D;
inline constexpr uint32_t kListText = 0x676153;
inline constexpr uint32_t kListSelectedText = 0xB98C15;
inline constexpr uint32_t kListSelectedFill = 0x141414;
inline constexpr uint32_t kEditText = 0xB98C15;
inline constexpr uint32_t kOptionText = 0xC8BDBD;
inline constexpr uint32_t kEditFill = 0x0F0F0F;
}  // namespace macropage

}  // namespace q30x::layout
