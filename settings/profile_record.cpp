#include "settings/profile_record.h"

#include <cstring>

#include "buttons/function_names.h"
#include "platform/utf16.h"

namespace q30x {

void fillProfileDefaults(ProfileRecord& record, int chineseUi) {
    std::memset(static_cast<void*>(&record), 0, sizeof record);
    record.magic = kProfileMagic;
    for (const auto& button : kPhysicalButtons) {
        ButtonAssignment& slot = record.buttons[button.index];
        slot.functionType = button.defaultType;
        setFixedText(slot.label, functionName(button.defaultType, chineseUi));
    }
    constexpr int32_t kDefaultDpi[] = {750, 1250, 1500, 2000, 2500, 3500, 4000};
    std::memcpy(record.dpiLevels, kDefaultDpi, sizeof kDefaultDpi);
    record.heightSetting = 15;
    record.reportInterval = 1;
    record.lightingMode = 5;
    record.symphonyCustom = 0;
    for (int i = 0; i < kColourCount; ++i) {
        record.ledColour[i] = 0x000000FF;
        record.ledColourIsCustom[i] = 1;
        record.ledColourPreset[i] = 0;
    }
    record.proximitySensing = 1;
    record.enhancePointerPrecision = 0;
    record.pointerSpeed = 10;
    record.brightness = 5;
    record.breathingFrequency = 3;
    record.symphonySpeed = 4;
    record.wheelScrollLines = 3;
}

}  // namespace q30x
