#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/hid_descriptor.h"

namespace q30x {

// One HID interface as the system lists it: where it is, whose it is and the
// feature values its report descriptor declares.
struct HidInterfaceInfo {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    // The top-level collection this entry stands for: a node with several
    // is listed once per collection, as the system lists HID interfaces.
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    // False when the interface could not be queried (no access, descriptor
    // unreadable or malformed); `problem` then says why.
    bool queried = false;
    std::string problem;
    std::vector<HidValueCaps> featureValues;
};

// The entries of one device node from its report descriptor: one per
// top-level collection (one in all when it has at most one), each with the
// feature values inside it; a descriptor that does not parse gives a single
// entry that was not queried.
std::vector<HidInterfaceInfo> hidInterfacesFromDescriptor(const std::string& path, uint16_t vendorId,
                                                          uint16_t productId, std::span<const uint8_t> descriptor);

enum class HidWrite : uint8_t {
    Written,   // the report went out
    TimedOut,  // still not out when the bound ran out
    Failed,    // refused or the device is gone
};

// An opened interface. Buffers hold the report id in byte 0.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    // HID set-feature with exactly these bytes; true when the device took it.
    virtual bool setFeature(std::span<const uint8_t> report) = 0;
    // HID get-feature of report[0]'s report id into the whole buffer; true
    // when the device answered.
    virtual bool getFeature(std::span<uint8_t> report) = 0;
    // One output report; waits at most `timeoutMs` for the device to take it.
    virtual HidWrite writeOutput(std::span<const uint8_t> report, uint32_t timeoutMs) = 0;
};

// The system's HID interfaces. A backend only translates to its OS: the
// choice of interface, pacing and retries belong to the device link.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Every HID interface present now, in a stable order.
    virtual std::vector<HidInterfaceInfo> enumerate() = 0;
    // Opens a path from enumerate() for reading and writing; null on failure.
    virtual std::unique_ptr<HidDevice> open(const std::string& path) = 0;
};

// The backend of the operating system the program was built for.
std::unique_ptr<HidBackend> makeSystemHidBackend();

}  // namespace q30x
