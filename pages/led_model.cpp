#include "pages/led_model.h"

namespace q30x::led {

bool choosePreset(ProfileRecord& record, int slot, int preset) {
    if (!isSlot(slot) || !isPreset(preset)) return false;
    record.ledColour[slot] = kPresets[static_cast<std::size_t>(preset)];
    record.ledColourPreset[slot] = preset;
    record.ledColourIsCustom[slot] = 0;
    return true;
}

bool setColourChannel(ProfileRecord& record, int slot, int channel, int value) {
    if (!isSlot(slot) || channel < 0 || channel > 2) return false;
    record.ledColour[slot] = withColourByte(record.ledColour[slot], channel, value);
    record.ledColourIsCustom[slot] = 1;
    return true;
}

bool setOwnColour(ProfileRecord& record, int slot, uint32_t colour) {
    if (!isSlot(slot)) return false;
    record.ledColour[slot] = colour & 0x00FFFFFF;
    record.ledColourIsCustom[slot] = 1;
    return true;
}

}  // namespace q30x::led
