#include "platform/virtual/virtual_plugging.h"

#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace q30x {
namespace {
constexpr char kPullOut = '0';
constexpr char kPlugIn = '1';
constexpr char kWake = 'w';
}  // namespace

VirtualPlugging::VirtualPlugging(VirtualMouse& mouse, const std::string& cablePath) : mouse_(mouse) {
    if (cablePath.empty()) {
        int fds[2];
        if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
            fd_ = fds[0];
            wakeFd_ = fds[1];
        }
    } else {
        // Read and write: the FIFO then never reads as ended when a writer
        // goes, and the wake-ups share it.
        fd_ = ::open(cablePath.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        wakeFd_ = fd_;
    }
    if (fd_ >= 0) mouse_.setPluggingListener([this](bool plugged) { onPlugging(plugged); });
}

VirtualPlugging::~VirtualPlugging() {
    if (fd_ < 0) return;
    mouse_.setPluggingListener(nullptr);
    if (wakeFd_ != fd_) ::close(wakeFd_);
    ::close(fd_);
}

void VirtualPlugging::onPlugging(bool plugged) {
    {
        std::lock_guard lock(mutex_);
        pending_.push_back({plugged ? kDeviceArrived : kDeviceRemoved, true, usbInterfacePath(0x3C1F, 0x7E02, "virtual")});
    }
    // A full pipe is readable already: the wake-up is not lost.
    [[maybe_unused]] auto written = ::write(wakeFd_, &kWake, 1);
}

std::vector<DeviceNotification> VirtualPlugging::takePending() {
    char bytes[256];
    for (ssize_t got; (got = ::read(fd_, bytes, sizeof bytes)) > 0;) {
        for (ssize_t i = 0; i < got; ++i) {
            if (bytes[i] == kPullOut) mouse_.setPlugged(false);
            if (bytes[i] == kPlugIn) mouse_.setPlugged(true);
        }
    }
    std::lock_guard lock(mutex_);
    return std::exchange(pending_, {});
}

}  // namespace q30x
