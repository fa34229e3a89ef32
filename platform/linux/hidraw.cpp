// HID through /dev/hidraw*: libudev lists the nodes and their USB ids, the
// kernel hands out each report descriptor, and the project's own parser turns
// it into the value capabilities Windows would report.
#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/hid.h"

namespace q30x {
namespace {

class HidrawDevice final : public HidDevice {
public:
    explicit HidrawDevice(int fd) : fd_(fd) {}
    ~HidrawDevice() override { ::close(fd_); }

    bool setFeature(std::span<const uint8_t> report) override {
        std::vector<uint8_t> buffer(report.begin(), report.end());
        return ::ioctl(fd_, HIDIOCSFEATURE(buffer.size()), buffer.data()) >= 0;
    }

    bool getFeature(std::span<uint8_t> report) override {
        return ::ioctl(fd_, HIDIOCGFEATURE(report.size()), report.data()) >= 0;
    }

    HidWrite writeOutput(std::span<const uint8_t> report, uint32_t timeoutMs) override {
        pollfd waiting{fd_, POLLOUT, 0};
        int ready;
        do ready = ::poll(&waiting, 1, static_cast<int>(timeoutMs));
        while (ready < 0 && errno == EINTR);
        if (ready == 0) return HidWrite::TimedOut;
        if (ready < 0 || (waiting.revents & (POLLERR | POLLHUP | POLLNVAL))) return HidWrite::Failed;
        ssize_t written;
        do written = ::write(fd_, report.data(), report.size());
        while (written < 0 && errno == EINTR);
        if (written < 0 && (errno == EAGAIN || errno == ETIMEDOUT)) return HidWrite::TimedOut;
        return written == static_cast<ssize_t>(report.size()) ? HidWrite::Written : HidWrite::Failed;
    }

private:
    int fd_;
};

uint16_t hexAttribute(udev_device* device, const char* name) {
    const char* text = device ? udev_device_get_sysattr_value(device, name) : nullptr;
    return text ? static_cast<uint16_t>(std::strtoul(text, nullptr, 16)) : 0;
}

// HID_ID of the hid parent: "bus:vendor:product", each in hex.
bool idsFromHidParent(udev_device* hid, uint16_t& vendor, uint16_t& product) {
    const char* id = hid ? udev_device_get_property_value(hid, "HID_ID") : nullptr;
    unsigned bus = 0, v = 0, p = 0;
    if (!id || std::sscanf(id, "%x:%x:%x", &bus, &v, &p) != 3) return false;
    vendor = static_cast<uint16_t>(v);
    product = static_cast<uint16_t>(p);
    return true;
}

bool descriptorFromNode(const char* node, std::vector<uint8_t>& bytes, int& error) {
    int fd = ::open(node, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = errno;
        return false;
    }
    int size = 0;
    hidraw_report_descriptor descriptor{};
    bool ok = ::ioctl(fd, HIDIOCGRDESCSIZE, &size) >= 0 && size >= 0 && size <= HID_MAX_DESCRIPTOR_SIZE;
    if (ok) {
        descriptor.size = static_cast<uint32_t>(size);
        ok = ::ioctl(fd, HIDIOCGRDESC, &descriptor) >= 0;
    }
    error = ok ? 0 : errno;
    ::close(fd);
    if (ok) bytes.assign(descriptor.value, descriptor.value + descriptor.size);
    return ok;
}

// sysfs exposes the same descriptor to every user, so an interface can be
// listed and matched before the udev rule grants access to its node.
bool descriptorFromSysfs(udev_device* hid, std::vector<uint8_t>& bytes) {
    const char* syspath = hid ? udev_device_get_syspath(hid) : nullptr;
    if (!syspath) return false;
    std::string path = std::string(syspath) + "/report_descriptor";
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    uint8_t buffer[HID_MAX_DESCRIPTOR_SIZE];
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    if (got <= 0) return false;
    bytes.assign(buffer, buffer + got);
    return true;
}

int nodeNumber(const std::string& path) {
    auto digits = path.find_last_not_of("0123456789");
    return digits + 1 < path.size() ? std::atoi(path.c_str() + digits + 1) : -1;
}

// Adds the entries of one hidraw node.
void describe(udev_device* raw, std::vector<HidInterfaceInfo>& interfaces) {
    const char* node = udev_device_get_devnode(raw);
    const std::string path = node ? node : "";
    uint16_t vendor = 0, product = 0;
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(raw, "usb", "usb_device");
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(raw, "hid", nullptr);
    if (usb) {
        vendor = hexAttribute(usb, "idVendor");
        product = hexAttribute(usb, "idProduct");
    } else {
        idsFromHidParent(hid, vendor, product);
    }
    std::vector<uint8_t> bytes;
    int error = 0;
    std::string note;
    if (!descriptorFromNode(path.c_str(), bytes, error)) {
        if (!descriptorFromSysfs(hid, bytes)) {
            HidInterfaceInfo info;
            info.path = path;
            info.vendorId = vendor;
            info.productId = product;
            info.problem = std::string("cannot read its report descriptor: ") + std::strerror(error);
            interfaces.push_back(std::move(info));
            return;
        }
        note = error == EACCES || error == EPERM ? "no access to " + path + "; install the udev rule of data/udev"
                                                 : path + ": " + std::strerror(error);
    }
    for (auto& entry : hidInterfacesFromDescriptor(path, vendor, product, bytes)) {
        if (entry.problem.empty()) entry.problem = note;
        interfaces.push_back(std::move(entry));
    }
}

class HidrawBackend final : public HidBackend {
public:
    std::vector<HidInterfaceInfo> enumerate() override {
        std::vector<HidInterfaceInfo> interfaces;
        udev* context = udev_new();
        if (!context) return interfaces;
        udev_enumerate* listing = udev_enumerate_new(context);
        if (listing && udev_enumerate_add_match_subsystem(listing, "hidraw") >= 0 &&
            udev_enumerate_scan_devices(listing) >= 0) {
            udev_list_entry* entry;
            udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(listing)) {
                udev_device* raw = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
                if (!raw) continue;
                if (udev_device_get_devnode(raw)) describe(raw, interfaces);
                udev_device_unref(raw);
            }
        }
        if (listing) udev_enumerate_unref(listing);
        udev_unref(context);
        std::stable_sort(interfaces.begin(), interfaces.end(), [](const HidInterfaceInfo& a, const HidInterfaceInfo& b) {
            return nodeNumber(a.path) < nodeNumber(b.path);
        });
        return interfaces;
    }

    std::unique_ptr<HidDevice> open(const std::string& path) override {
        int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) return nullptr;
        return std::make_unique<HidrawDevice>(fd);
    }
};

}  // namespace

std::unique_ptr<HidBackend> makeSystemHidBackend() { return std::make_unique<HidrawBackend>(); }

}  // namespace q30x
