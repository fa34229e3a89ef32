#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "platform/hid.h"
#include "platform/virtual/virtual_firmware.h"

namespace q30x {

// The report descriptors of the three interfaces of the Q30X as the virtual
// mouse presents them, and of its decoy.
std::span<const uint8_t> virtualPointerDescriptor();
std::span<const uint8_t> virtualKeyboardDescriptor();
std::span<const uint8_t> virtualVendorDescriptor();
std::span<const uint8_t> virtualDecoyDescriptor();

// Reads the settings of Q30X_VIRTUAL_FAIL ("open", "stall", "CMD",
// "CMD:out", "CMD:stall", "CMD:unplug", "CMD:out-unplug", comma-separated;
// CMD a command byte in hex),
// Q30X_VIRTUAL_FIRMWARE (0 to 2559) and Q30X_VIRTUAL_DECOY (1). Null texts
// mean unset. `error` is empty when every text was understood.
struct VirtualConfigRead {
    VirtualMouseConfig config;
    std::string error;
};
VirtualConfigRead readVirtualMouseConfig(const char* fail, const char* firmware, const char* decoy);
VirtualConfigRead virtualMouseConfigFromEnvironment();

// The built-in Q30X: pointer, keyboard and vendor interfaces with the mouse's
// ids and real report descriptors, the firmware model behind the vendor one.
// Safe to inspect from a test thread while a worker uses it.
class VirtualMouse final : public HidBackend {
public:
    explicit VirtualMouse(const VirtualMouseConfig& config, Clock& clock);

    std::vector<HidInterfaceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;

    VirtualMouseState state() const;
    // Pulls the mouse out (every interface gone, open handles fail) and back in.
    void setPlugged(bool plugged);
    bool plugged() const;
    // Handles opened and not yet closed by whoever opened them.
    int openHandles() const;
    // Told of every change of plugging, also one a failure injection makes
    // mid-transfer, on the thread that made it.
    void setPluggingListener(std::function<void(bool plugged)> listener);

private:
    class Device;
    struct Shared {
        std::mutex mutex;
        VirtualFirmware firmware;
        bool plugged = true;
        int openHandles = 0;
        std::function<void(bool)> onPlugging;
        Shared(const VirtualMouseConfig& config, Clock& clock) : firmware(config, clock) {}
        void setPlugged(bool now);  // with `mutex` held
    };
    VirtualMouseConfig config_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace q30x
