#include "platform/devices.h"

#include <cstdio>

namespace q30x {

std::string usbHardwareId(uint16_t vendor, uint16_t product, uint16_t revision) {
    char text[40];
    std::snprintf(text, sizeof text, "USB\\VID_%04X&PID_%04X&REV_%04X", vendor, product, revision);
    return text;
}

std::string usbInterfacePath(uint16_t vendor, uint16_t product, const std::string& instance) {
    char head[40];
    std::snprintf(head, sizeof head, "\\\\?\\USB#VID_%04X&PID_%04X#", vendor, product);
    return head + instance + "#{A5DCBF10-6530-11D2-901F-00C04FB951ED}";
}

}  // namespace q30x
