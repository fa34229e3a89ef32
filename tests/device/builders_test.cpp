#include <gtest/gtest.h>
#include <memory>

#include "device/firmware_version.h"
#include "device/frame_data.h"
#include "device/key_codes.h"

namespace q30x {
namespace {

std::unique_ptr<ProfileRecord> defaultProfile() {
    auto record = std::make_unique<ProfileRecord>();
    fillProfileDefaults(*record, 0);
    return record;
}

TEST(DeviceKeyCode, FixedCodesByFunctionType) {
    const std::pair<int32_t, DeviceKeyCode> cases[] = {
        {1, 0x00F00001},   {2, 0x00F10001},   {4, 0x00F20001},   {8, 0x00F40001},   {16, 0x00F30001},
        {11, 0x00010004},  {22, 0x00020004},  {121, 0x00000007}, {32, 0x00CD0003},  {33, 0x00B70003},
        {34, 0x00B60003},  {35, 0x00B50003},  {37, 0x00E90003},  {38, 0x00EA0003},  {39, 0x00E20003},
        {40, 0x01830003},  {81, 0x003D0400},  {82, 0x000F0800},  {84, 0x00150800},  {85, 0x00070800},
        {123, 0x00100800}, {124, 0x002B0400}, {125, 0x00140800}, {126, 0x00570800}, {127, 0x00560800},
        {142, 0x08040007}, {143, 0x0218F00A},
    };
    ButtonAssignment button{};
    for (const auto& [type, code] : cases) {
        button.functionType = type;
        EXPECT_EQ(deviceKeyCode(button, 0, {}), code) << type;
        EXPECT_TRUE(hasDeviceKeyCode(type)) << type;
    }
    for (int32_t type : {0, 3, 36, 83, 122, 144, -1}) {
        button.functionType = type;
        EXPECT_EQ(deviceKeyCode(button, 0, {}), 0u) << type;
        EXPECT_FALSE(hasDeviceKeyCode(type)) << type;
    }
}

TEST(DeviceKeyCode, CodesThatDependOnTheButton) {
    ButtonAssignment button{};
    button.functionType = kFunctionCombo;
    button.comboCode = 0x00060100;  // Ctrl + C
    EXPECT_EQ(deviceKeyCode(button, 3, {}), 0x00060100u);

    button.functionType = kFunctionMacro;
    EXPECT_EQ(deviceKeyCode(button, 0, {2, 300}), 0x2C020009u);  // 300 mod 256 = 0x2C
    EXPECT_EQ(deviceKeyCode(button, 0, {7, 255}), 0xFF070009u);
    EXPECT_EQ(deviceKeyCode(button, 0, {0, 40}), 0u);  // nothing uploaded

    // An advanced action keeps the button's own default on the mouse.
    button.functionType = kFunctionAdvanced;
    const DeviceKeyCode defaults[] = {0x00F00001, 0x00F20001, 0x00F10001, 0x00F40001,
                                      0x00F30001, 0x00010004, 0x00020004};
    for (int i = 0; i < kButtonCount; ++i) EXPECT_EQ(deviceKeyCode(button, i, {}), defaults[i]) << i;
    EXPECT_EQ(deviceKeyCode(button, 7, {}), 0u);
}

TEST(KeyTable, DefaultProfile) {
    auto record = defaultProfile();
    const KeyTable expected = {
        0x01, 0x00, 0xF0, 0x00, 0x01, 0x00, 0xF1, 0x00, 0x01, 0x00, 0xF2, 0x00, 0x07, 0x00, 0x03, 0x00,
        0x01, 0x00, 0xF3, 0x00, 0x01, 0x00, 0xF4, 0x00, 0,    0,    0,    0,    0,    0,    0,    0,
        0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
        0,    0,    0,    0,    0,    0,    0,    0,    0x04, 0x00, 0x01, 0x00, 0x04, 0x00, 0x02, 0x00,
    };
    EXPECT_EQ(buildKeyTable(*record, {}), expected);
}

TEST(KeyTable, MacroButtonsAreNumberedInButtonOrder) {
    auto record = defaultProfile();
    record->buttons[1].functionType = kFunctionMacro;  // middle: uploaded
    record->buttons[2].functionType = kFunctionMacro;  // right: its macro is gone
    record->buttons[4].functionType = kFunctionMacro;  // back: uploaded
    record->buttons[5].functionType = 121;             // wheel forward disabled
    std::array<int, kButtonCount> numbers = assignMacroNumbers(*record, {true, true, false, true, true, true, true});
    EXPECT_EQ(numbers, (std::array<int, kButtonCount>{0, 1, 0, 0, 2, 0, 0}));

    ButtonMacros macros{};
    macros[1] = {numbers[1], 0x105};
    macros[4] = {numbers[4], 12};
    KeyTable table = buildKeyTable(*record, macros);
    auto entry = [&](int position) {
        return std::vector<uint8_t>(table.begin() + 4 * position, table.begin() + 4 * position + 4);
    };
    EXPECT_EQ(entry(1), (std::vector<uint8_t>{0, 0, 0, 0}));           // right, missing macro
    EXPECT_EQ(entry(2), (std::vector<uint8_t>{0x09, 0x00, 0x01, 0x05}));  // middle
    EXPECT_EQ(entry(3), (std::vector<uint8_t>{0x07, 0x00, 0x03, 0x00}));
    EXPECT_EQ(entry(4), (std::vector<uint8_t>{0x09, 0x00, 0x02, 0x0C}));  // back
    EXPECT_EQ(entry(14), (std::vector<uint8_t>{0x07, 0x00, 0x00, 0x00}));
}

TEST(DpiTable, CodesAndTheExamples) {
    const std::pair<int32_t, uint8_t> codes[] = {
        {250, 1},   {500, 2},   {750, 3},   {1000, 4},  {1250, 5},  {1500, 6},  {1750, 7},  {2000, 8},
        {2250, 9},  {2500, 10}, {2750, 11}, {3000, 12}, {3250, 13}, {3500, 14}, {4000, 40}, {5000, 42},
        {6000, 44}, {7000, 46}, {0, 0x80},  {3750, 0x80}, {-500, 0x80}, {8000, 0x80},
    };
    for (const auto& [dpi, code] : codes) EXPECT_EQ(dpiCode(dpi), code) << dpi;

    auto record = defaultProfile();
    ASSERT_EQ(record->dpiLevels[0], 750);
    EXPECT_EQ(buildDpiTable(*record),
              (DpiTable{0x03, 0x05, 0x06, 0x08, 0x0A, 0x0E, 0x28, 0x02, 0x03, 0x05, 0x06, 0x08, 0x0A, 0x0E, 0x28, 0x02}));
    EXPECT_EQ(dpiLevelFor(*record), 3);

    std::fill(std::begin(record->dpiLevels), std::end(record->dpiLevels), 0);
    record->dpiLevels[0] = 500;
    record->dpiLevels[1] = 1000;
    record->dpiLevels[7] = 2000;  // beyond the seven sent levels: not counted
    EXPECT_EQ(buildDpiTable(*record),
              (DpiTable{0x02, 0x04, 0x80, 0x80, 0x80, 0x80, 0x80, 0x02, 0x02, 0x04, 0x80, 0x80, 0x80, 0x80, 0x80, 0x02}));
    EXPECT_EQ(dpiLevelFor(*record), 2);
    record->dpiLevels[0] = 0;
    record->dpiLevels[1] = 0;
    EXPECT_EQ(dpiLevelFor(*record), 0);
}

TEST(Lighting, EffectParametersByMode) {
    auto record = defaultProfile();
    record->brightness = 7;
    record->breathingFrequency = 3;
    record->symphonySpeed = 4;
    record->symphonyCustom = 1;
    const std::pair<int32_t, LightingEffect> cases[] = {
        {1, {1, 7, 1}}, {2, {2, 3, 1}}, {3, {3, 2, 3}}, {4, {4, 10, 2}},
        {5, {5, 4, 1}}, {6, {0, 0, 0}}, {0, {0, 0, 0}}, {9, {0, 0, 0}},
    };
    for (const auto& [mode, effect] : cases) {
        record->lightingMode = mode;
        LightingEffect got = lightingEffectFor(*record);
        EXPECT_EQ((std::array{got.mode, got.first, got.second}), (std::array{effect.mode, effect.first, effect.second}))
            << mode;
    }
}

TEST(Lighting, CustomColoursOnlyForSymphonyWithOwnColours) {
    auto record = defaultProfile();
    record->ledColour[0] = 0x00332211;
    record->ledColour[1] = 0x00665544;
    record->ledColour[2] = 0x00998877;
    record->ledColour[3] = 0x00FFFFFF;  // not sent
    CustomColours expected{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99};
    EXPECT_EQ(buildCustomColours(*record), expected);
    const std::tuple<int32_t, int32_t, bool> cases[] = {{5, 1, true}, {5, 0, false}, {1, 1, false}, {6, 1, false}};
    for (const auto& [mode, custom, sends] : cases) {
        record->lightingMode = mode;
        record->symphonyCustom = custom;
        EXPECT_EQ(sendsCustomColours(*record), sends) << mode << " " << custom;
    }
}

TEST(SmallCommands, ProximityAndReportRateRules) {
    EXPECT_EQ(proximityByte(1, 1), 0xA0);
    EXPECT_EQ(proximityByte(1, 5), 0xA0);
    EXPECT_EQ(proximityByte(1, 6), 0xB0);  // lighting off
    EXPECT_EQ(proximityByte(0, 1), 0xB0);
    EXPECT_EQ(proximityByte(2, 1), 0xB0);
    for (int32_t interval : {1, 2, 4, 8}) EXPECT_EQ(reportRateByte(interval), interval);
    for (int32_t interval : {0, 3, 5, 16, -1, 258}) EXPECT_EQ(reportRateByte(interval), 2) << interval;
}

TEST(FirmwareVersion, AnswerValidationAndHowTheSupportPageShowsIt) {
    const uint8_t good[] = {6, 0x80, 1, 2, 0};
    const uint8_t wrongEcho[] = {6, 0x81, 1, 2, 0};
    const uint8_t short3[] = {6, 0x80, 1};
    const uint8_t large[] = {6, 0x80, 255, 9};
    EXPECT_EQ(firmwareVersionFromAnswer(good), 12);
    EXPECT_EQ(firmwareVersionFromAnswer(wrongEcho), std::nullopt);
    EXPECT_EQ(firmwareVersionFromAnswer(short3), std::nullopt);
    EXPECT_EQ(firmwareVersionFromAnswer(large), 2559);

    EXPECT_EQ(firmwareVersionText(std::nullopt), u"");
    EXPECT_EQ(firmwareVersionText(0), u"");
    EXPECT_EQ(firmwareVersionText(12), u"12");
    const std::pair<const char16_t*, const char16_t*> labels[] = {
        {u"", u"Unknown"}, {u"7", u"V 0.0.7"}, {u"12", u"V 0.1.2"}, {u"123", u"V 1.2.3"}, {u"2559", u"V 25.5.9"},
    };
    for (const auto& [text, label] : labels) EXPECT_EQ(firmwareVersionLabel(text), label);
}

}  // namespace
}  // namespace q30x
