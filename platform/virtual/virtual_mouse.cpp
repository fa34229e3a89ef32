#include "platform/virtual/virtual_mouse.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace q30x {
namespace {

constexpr uint16_t kVirtualVendorId = 0x3C1F;
constexpr uint16_t kVirtualProductId = 0x7E02;

// The boot mouse of the USB HID class definition: three buttons, X and Y.
constexpr uint8_t kPointer[] = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15,
    0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01,
    0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0,
};

// The boot keyboard of the USB HID class definition: modifiers, reserved
// byte, five LEDs out, six key slots.
constexpr uint8_t kKeyboard[] = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0,
};

// The command channel: report 6 carries eight feature bytes (usage page
// 0xFF01, usage 0x22) and 32 output bytes (usage 0x23).
constexpr uint8_t kVendor[] = {
    0x06, 0x01, 0xFF,  // Usage Page (0xFF01)
    0x09, 0x01,        // Usage (0x01)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x06,        //   Report ID (6)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x09, 0x22,        //   Usage (0x22)
    0x95, 0x08,        //   Report Count (8)
    0xB1, 0x02,        //   Feature (Data, Variable, Absolute)
    0x09, 0x23,        //   Usage (0x23)
    0x95, 0x20,        //   Report Count (32)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0xC0,              // End Collection
};

// Looks like the vendor interface but has its usage as input only.
constexpr uint8_t kDecoy[] = {
    0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
    0x75, 0x08, 0x09, 0x22, 0x95, 0x08, 0x81, 0x02, 0xC0,
};

constexpr const char* kPointerPath = "virtual/pointer";
constexpr const char* kKeyboardPath = "virtual/keyboard";
constexpr const char* kVendorPath = "virtual/vendor";
constexpr const char* kDecoyPath = "virtual/decoy";

void describe(std::vector<HidInterfaceInfo>& interfaces, const char* path, std::span<const uint8_t> descriptor) {
    for (auto& entry : hidInterfacesFromDescriptor(path, kVirtualVendorId, kVirtualProductId, descriptor))
        interfaces.push_back(std::move(entry));
}

bool readFailure(std::string_view token, VirtualConfigRead& read) {
    if (token == "open") {
        read.config.vendorAbsent = true;
        return true;
    }
    if (token == "stall") {
        read.config.stallEveryWrite = true;
        return true;
    }
    VirtualFailure failure;
    std::string_view code = token;
    if (auto colon = token.find(':'); colon != std::string_view::npos) {
        std::string_view mode = token.substr(colon + 1);
        code = token.substr(0, colon);
        if (mode == "out") failure.kind = VirtualFailure::Kind::Output;
        else if (mode == "stall") failure.kind = VirtualFailure::Kind::Stall;
        else if (mode == "unplug") failure.kind = VirtualFailure::Kind::Unplug;
        else if (mode == "out-unplug") failure.kind = VirtualFailure::Kind::OutputUnplug;
        else return false;
    }
    if (code.substr(0, 2) == "0x" || code.substr(0, 2) == "0X") code.remove_prefix(2);
    unsigned value = 0;
    auto [end, ec] = std::from_chars(code.data(), code.data() + code.size(), value, 16);
    if (code.empty() || ec != std::errc() || end != code.data() + code.size() || value > 0xFF) return false;
    failure.command = static_cast<uint8_t>(value);
    read.config.failures.push_back(failure);
    return true;
}

}  // namespace

std::span<const uint8_t> virtualPointerDescriptor() { return kPointer; }
std::span<const uint8_t> virtualKeyboardDescriptor() { return kKeyboard; }
std::span<const uint8_t> virtualVendorDescriptor() { return kVendor; }
std::span<const uint8_t> virtualDecoyDescriptor() { return kDecoy; }

VirtualConfigRead readVirtualMouseConfig(const char* fail, const char* firmware, const char* decoy) {
    VirtualConfigRead read;
    if (fail && *fail) {
        std::string_view rest = fail;
        for (bool more = true; more;) {
            auto comma = rest.find(',');
            more = comma != std::string_view::npos;
            std::string_view token = rest.substr(0, comma);
            if (!readFailure(token, read)) {
                read.error = "Q30X_VIRTUAL_FAIL: cannot read '" + std::string(token) +
                             "' (expected open, stall, CMD, CMD:out, CMD:stall, CMD:unplug or CMD:out-unplug, CMD a command byte in hex)";
                return read;
            }
            if (more) rest.remove_prefix(comma + 1);
        }
    }
    if (firmware && *firmware) {
        std::string_view text = firmware;
        int value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        // byte 2 of the answer holds the tens, so 2559 is the largest version.
        if (ec != std::errc() || end != text.data() + text.size() || value < 0 || value > 2559) {
            read.error = "Q30X_VIRTUAL_FIRMWARE: '" + std::string(text) + "' is not a version from 0 to 2559";
            return read;
        }
        read.config.firmwareVersion = value;
    }
    if (decoy && *decoy) read.config.decoy = std::string_view(decoy) == "1";
    return read;
}

VirtualConfigRead virtualMouseConfigFromEnvironment() {
    return readVirtualMouseConfig(std::getenv("Q30X_VIRTUAL_FAIL"), std::getenv("Q30X_VIRTUAL_FIRMWARE"),
                                  std::getenv("Q30X_VIRTUAL_DECOY"));
}

class VirtualMouse::Device final : public HidDevice {
public:
    explicit Device(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) { ++shared_->openHandles; }
    ~Device() override {
        std::lock_guard lock(shared_->mutex);
        --shared_->openHandles;
    }

    bool setFeature(std::span<const uint8_t> report) override {
        std::lock_guard lock(shared_->mutex);
        return reachable(report, false) && shared_->firmware.setFeature(report);
    }
    bool getFeature(std::span<uint8_t> report) override {
        std::lock_guard lock(shared_->mutex);
        return shared_->plugged && shared_->firmware.getFeature(report);
    }
    HidWrite writeOutput(std::span<const uint8_t> report, uint32_t timeoutMs) override {
        std::lock_guard lock(shared_->mutex);
        return reachable(report, true) ? shared_->firmware.writeOutput(report, timeoutMs) : HidWrite::Failed;
    }

private:
    // False once the mouse is out, also when this very frame pulls it out.
    bool reachable(std::span<const uint8_t> report, bool output) {
        if (shared_->plugged && shared_->firmware.unplugsAt(report, output)) shared_->setPlugged(false);
        return shared_->plugged;
    }

    std::shared_ptr<Shared> shared_;
};

void VirtualMouse::Shared::setPlugged(bool now) {
    if (plugged == now) return;
    plugged = now;
    if (!plugged) firmware.powerLost();
    if (onPlugging) onPlugging(now);
}

VirtualMouse::VirtualMouse(const VirtualMouseConfig& config, Clock& clock)
    : config_(config), shared_(std::make_shared<Shared>(config, clock)) {}

std::vector<HidInterfaceInfo> VirtualMouse::enumerate() {
    {
        std::lock_guard lock(shared_->mutex);
        if (!shared_->plugged) return {};
    }
    std::vector<HidInterfaceInfo> interfaces;
    if (config_.decoy) describe(interfaces, kDecoyPath, kDecoy);
    describe(interfaces, kPointerPath, kPointer);
    describe(interfaces, kKeyboardPath, kKeyboard);
    if (!config_.vendorAbsent) describe(interfaces, kVendorPath, kVendor);
    return interfaces;
}

std::unique_ptr<HidDevice> VirtualMouse::open(const std::string& path) {
    std::lock_guard lock(shared_->mutex);
    // Pointer and keyboard reports belong to the input stack; only the
    // vendor interface takes commands.
    if (!shared_->plugged || path != kVendorPath || config_.vendorAbsent) return nullptr;
    return std::make_unique<Device>(shared_);
}

VirtualMouseState VirtualMouse::state() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->firmware.state();
}

void VirtualMouse::setPlugged(bool plugged) {
    std::lock_guard lock(shared_->mutex);
    shared_->setPlugged(plugged);
}

bool VirtualMouse::plugged() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->plugged;
}

int VirtualMouse::openHandles() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->openHandles;
}

void VirtualMouse::setPluggingListener(std::function<void(bool plugged)> listener) {
    std::lock_guard lock(shared_->mutex);
    shared_->onPlugging = std::move(listener);
}

}  // namespace q30x
