#include "device/key_codes.h"

namespace q30x {
namespace {

struct FixedCode {
    int32_t functionType;
    DeviceKeyCode code;
};

constexpr FixedCode kFixedCodes[] = {
    {1, 0x00F00001},   {2, 0x00F10001},   {4, 0x00F20001},   {8, 0x00F40001},   {16, 0x00F30001},
    {11, 0x00010004},  {22, 0x00020004},  {121, 0x00000007}, {32, 0x00CD0003},  {33, 0x00B70003},
    {34, 0x00B60003},  {35, 0x00B50003},  {37, 0x00E90003},  {38, 0x00EA0003},  {39, 0x00E20003},
    {40, 0x01830003},  {81, 0x003D0400},  {82, 0x000F0800},  {84, 0x00150800},  {85, 0x00070800},
    {123, 0x00100800}, {124, 0x002B0400}, {125, 0x00140800}, {126, 0x00570800}, {127, 0x00560800},
    {142, 0x08040007}, {143, 0x0218F00A},
};

const FixedCode* findFixed(int32_t functionType) {
    for (const auto& entry : kFixedCodes)
        if (entry.functionType == functionType) return &entry;
    return nullptr;
}

}  // namespace

DeviceKeyCode fixedDeviceKeyCode(int32_t functionType) {
    const FixedCode* entry = findFixed(functionType);
    return entry ? entry->code : 0;
}

bool hasDeviceKeyCode(int32_t functionType) {
    return findFixed(functionType) || functionType == kFunctionCombo || functionType == kFunctionMacro ||
           functionType == kFunctionAdvanced;
}

DeviceKeyCode macroKeyCode(const ButtonMacro& macro) {
    if (macro.macroNumber <= 0) return 0;
    return 0x09u + (static_cast<uint32_t>(macro.macroNumber & 0xFF) << 16) +
           (static_cast<uint32_t>(macro.wordCount & 0xFF) << 24);
}

DeviceKeyCode deviceKeyCode(const ButtonAssignment& button, int buttonIndex, const ButtonMacro& macro) {
    switch (button.functionType) {
    case kFunctionCombo: return button.comboCode;
    case kFunctionMacro: return macroKeyCode(macro);
    case kFunctionAdvanced:
        return buttonIndex >= 0 && buttonIndex < kButtonCount
                   ? fixedDeviceKeyCode(kPhysicalButtons[buttonIndex].defaultType)
                   : 0;
    default: return fixedDeviceKeyCode(button.functionType);
    }
}

std::array<int, kButtonCount> assignMacroNumbers(const ProfileRecord& record,
                                                 const std::array<bool, kButtonCount>& uploadable) {
    std::array<int, kButtonCount> numbers{};
    int next = 1;
    for (int i = 0; i < kButtonCount; ++i)
        if (record.buttons[i].functionType == kFunctionMacro && uploadable[i]) numbers[i] = next++;
    return numbers;
}

KeyTable buildKeyTable(const ProfileRecord& record, const ButtonMacros& macros) {
    KeyTable table{};
    auto put = [&table](int position, DeviceKeyCode code) {
        for (int byte = 0; byte < 4; ++byte) table[4 * position + byte] = static_cast<uint8_t>(code >> (8 * byte));
    };
    for (const auto& button : kPhysicalButtons)
        put(button.keyTablePosition, deviceKeyCode(record.buttons[button.index], button.index, macros[button.index]));
    put(kFixedKeyTablePosition, kFixedKeyTableEntry);
    return table;
}

}  // namespace q30x
