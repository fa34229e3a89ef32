#pragma once
#include <string>
#include <vector>

#include "platform/devices.h"

namespace q30x {

// The USB bus as the virtual mouse presents it: the Q30X, and with `loader`
// its firmware loader too (Q30X_VIRTUAL_LOADER=1), as a mouse waiting for new
// firmware shows itself.
class VirtualUsbDevices final : public UsbDeviceList {
public:
    explicit VirtualUsbDevices(bool loader) : loader_(loader) {}
    std::vector<std::string> hardwareIds() override {
        std::vector<std::string> ids{usbHardwareId(0x3C1F, 0x7E02, 0x0100)};
        if (loader_) ids.push_back(usbHardwareId(0x04D9, 0x8022, 0x0100));
        return ids;
    }

private:
    bool loader_;
};

}  // namespace q30x
