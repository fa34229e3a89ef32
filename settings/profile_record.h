#pragma once
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace q30x {

static_assert(std::endian::native == std::endian::little, "records are raw little-endian images");

inline constexpr uint32_t kProfileMagic = 0x80800265;
inline constexpr int kButtonCount = 7;
inline constexpr int kDpiSlots = 14;
inline constexpr int kColourCount = 4;
inline constexpr std::size_t kPathUnits = 260;

// Advanced host actions of function type 19.
inline constexpr int32_t kAdvancedSound = 0xC0;
inline constexpr int32_t kAdvancedProgram = 0xD0;
inline constexpr int32_t kAdvancedFile = 0xE0;
inline constexpr int32_t kAdvancedFolder = 0xF0;

// What one input does; the layout is the file's.
struct ButtonAssignment {
    int32_t functionType;
    int32_t macroId;
    int32_t advancedKind;
    uint8_t reserved0[4];
    uint32_t comboCode;
    int32_t advancedParam;
    char16_t targetPath[kPathUnits];
    uint8_t reserved1[4];
    char16_t label[kPathUnits];
    uint8_t reserved2[2080];
};

static_assert(sizeof(ButtonAssignment) == 3148);
static_assert(offsetof(ButtonAssignment, functionType) == 0);
static_assert(offsetof(ButtonAssignment, macroId) == 4);
static_assert(offsetof(ButtonAssignment, advancedKind) == 8);
static_assert(offsetof(ButtonAssignment, reserved0) == 12);
static_assert(offsetof(ButtonAssignment, comboCode) == 16);
static_assert(offsetof(ButtonAssignment, advancedParam) == 20);
static_assert(offsetof(ButtonAssignment, targetPath) == 24);
static_assert(offsetof(ButtonAssignment, reserved1) == 544);
static_assert(offsetof(ButtonAssignment, label) == 548);
static_assert(offsetof(ButtonAssignment, reserved2) == 1068);

// One profile, identical in memory and on disk. Bytes read from a file,
// reserved ones included, are written back as they were.
struct ProfileRecord {
    uint32_t magic;
    ButtonAssignment buttons[kButtonCount];
    int32_t dpiLevels[kDpiSlots];
    uint8_t reserved[64];
    int32_t heightSetting;
    int32_t reportInterval;
    int32_t lightingMode;
    int32_t symphonyCustom;
    uint32_t ledColour[kColourCount];  // 0x00BBGGRR
    int32_t ledColourIsCustom[kColourCount];
    int32_t ledColourPreset[kColourCount];
    int32_t proximitySensing;
    int32_t enhancePointerPrecision;
    int32_t pointerSpeed;
    int32_t brightness;
    int32_t breathingFrequency;
    int32_t symphonySpeed;
    int32_t wheelScrollLines;  // -1: one screen per notch
};

static_assert(sizeof(ProfileRecord) == 22252);
static_assert(offsetof(ProfileRecord, magic) == 0);
static_assert(offsetof(ProfileRecord, buttons) == 4);
static_assert(offsetof(ProfileRecord, dpiLevels) == 22040);
static_assert(offsetof(ProfileRecord, reserved) == 22096);
static_assert(offsetof(ProfileRecord, heightSetting) == 22160);
static_assert(offsetof(ProfileRecord, reportInterval) == 22164);
static_assert(offsetof(ProfileRecord, lightingMode) == 22168);
static_assert(offsetof(ProfileRecord, symphonyCustom) == 22172);
static_assert(offsetof(ProfileRecord, ledColour) == 22176);
static_assert(offsetof(ProfileRecord, ledColourIsCustom) == 22192);
static_assert(offsetof(ProfileRecord, ledColourPreset) == 22208);
static_assert(offsetof(ProfileRecord, proximitySensing) == 22224);
static_assert(offsetof(ProfileRecord, enhancePointerPrecision) == 22228);
static_assert(offsetof(ProfileRecord, pointerSpeed) == 22232);
static_assert(offsetof(ProfileRecord, brightness) == 22236);
static_assert(offsetof(ProfileRecord, breathingFrequency) == 22240);
static_assert(offsetof(ProfileRecord, symphonySpeed) == 22244);
static_assert(offsetof(ProfileRecord, wheelScrollLines) == 22248);

// The seven inputs, in button-index order.
struct PhysicalButton {
    int index;
    const char* name;
    uint32_t inputCode;     // how the input hooks and the action executor name it
    int keyTablePosition;   // where its device key code goes in the mouse's key table
    int32_t defaultType;
};

inline constexpr std::array<PhysicalButton, kButtonCount> kPhysicalButtons = {{
    {0, "left", 0x201, 0, 1},
    {1, "middle", 0x207, 2, 4},
    {2, "right", 0x204, 1, 2},
    {3, "forward", 0x2020B, 5, 8},
    {4, "back", 0x1020B, 4, 16},
    {5, "wheel forward", 0x20A01, 14, 11},
    {6, "wheel backward", 0x20A00, 15, 22},
}};

// The button index of an input code, or -1.
constexpr int buttonIndexOfInputCode(uint32_t inputCode) {
    for (const auto& button : kPhysicalButtons)
        if (button.inputCode == inputCode) return button.index;
    return -1;
}

// The DPI values the main page offers, in the order slots are filled.
inline constexpr std::array<int32_t, 14> kOfferedDpiValues = {500,  750,  1000, 1250, 1500, 2000, 2500,
                                                              3000, 3250, 3500, 4000, 5000, 6000, 7000};

// The macro each button plays when its type is 6, else 0. Kept in the
// profile index, not in the profile file.
using ProfileMacroRefs = std::array<int32_t, kButtonCount>;

// Zeroes the record, then sets the factory defaults; labels are the function
// names in the given interface wording (Chinese when chineseUi is 1).
void fillProfileDefaults(ProfileRecord& record, int chineseUi);

// A record read from a file is a profile only when it starts with the magic.
inline bool isValidProfile(const ProfileRecord& record) { return record.magic == kProfileMagic; }

}  // namespace q30x
