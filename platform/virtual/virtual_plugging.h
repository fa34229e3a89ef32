#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "platform/devices.h"
#include "platform/virtual/virtual_mouse.h"

namespace q30x {

// The virtual mouse's plugging as the device notifications the system would
// send for the real one: every change (a test's setPlugged, a failure
// injection that pulls the mouse out mid-transfer) arrives as its removal or
// arrival. With a cable, a FIFO (Q30X_VIRTUAL_CABLE), each '0' written to it
// pulls the mouse out and each '1' plugs it back in, so another process can
// work the plug as a hand would.
class VirtualPlugging final : public DeviceNotificationSource {
public:
    explicit VirtualPlugging(VirtualMouse& mouse, const std::string& cablePath = {});
    ~VirtualPlugging() override;
    VirtualPlugging(const VirtualPlugging&) = delete;
    VirtualPlugging& operator=(const VirtualPlugging&) = delete;

    // False when the cable (or the internal pipe) could not be opened.
    bool ready() const { return fd_ >= 0; }
    int descriptor() const override { return fd_; }
    std::vector<DeviceNotification> takePending() override;

private:
    void onPlugging(bool plugged);

    VirtualMouse& mouse_;
    int fd_ = -1;       // read: cable commands and wake-ups
    int wakeFd_ = -1;   // write: wake-ups (the same FIFO when there is a cable)
    std::mutex mutex_;
    std::vector<DeviceNotification> pending_;
};

}  // namespace q30x
