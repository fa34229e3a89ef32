// USB presence through libudev: the present devices and the monitor of
// plugging and unplugging. Translation only; what to do with them is the core's.
#include <cstdlib>
#include <libudev.h>
#include <memory>

#include "platform/devices.h"

namespace q30x {
namespace {

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

uint16_t hexAttribute(udev_device* device, const char* name) {
    const char* text = udev_device_get_sysattr_value(device, name);
    return text ? static_cast<uint16_t>(std::strtoul(text, nullptr, 16)) : 0;
}

// The ids of a USB device; removal events carry them only as properties.
bool usbIds(udev_device* device, uint16_t& vendor, uint16_t& product, uint16_t& revision) {
    if (const char* product_ = udev_device_get_property_value(device, "PRODUCT")) {
        // "3c1f/7e02/100": vendor, product and revision in hex.
        unsigned v = 0, p = 0, r = 0;
        if (std::sscanf(product_, "%x/%x/%x", &v, &p, &r) >= 2) {
            vendor = static_cast<uint16_t>(v);
            product = static_cast<uint16_t>(p);
            revision = static_cast<uint16_t>(r);
            return true;
        }
    }
    vendor = hexAttribute(device, "idVendor");
    product = hexAttribute(device, "idProduct");
    revision = hexAttribute(device, "bcdDevice");
    return vendor != 0 || product != 0;
}

class UdevUsbDeviceList final : public UsbDeviceList {
public:
    std::vector<std::string> hardwareIds() override {
        std::vector<std::string> ids;
        UdevPtr<udev> context(udev_new());
        if (!context) return ids;
        UdevPtr<udev_enumerate> list(udev_enumerate_new(context.get()));
        udev_enumerate_add_match_subsystem(list.get(), "usb");
        udev_enumerate_add_match_property(list.get(), "DEVTYPE", "usb_device");
        udev_enumerate_scan_devices(list.get());
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(list.get())) {
            UdevPtr<udev_device> device(udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
            uint16_t vendor = 0, product = 0, revision = 0;
            if (device && usbIds(device.get(), vendor, product, revision))
                ids.push_back(usbHardwareId(vendor, product, revision));
        }
        return ids;
    }
};

class UdevNotifications final : public DeviceNotificationSource {
public:
    UdevNotifications() : context_(udev_new()) {
        if (!context_) return;
        monitor_.reset(udev_monitor_new_from_netlink(context_.get(), "udev"));
        if (!monitor_) return;
        udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), "usb", "usb_device");
        if (udev_monitor_enable_receiving(monitor_.get()) < 0) monitor_.reset();
    }

    int descriptor() const override { return monitor_ ? udev_monitor_get_fd(monitor_.get()) : -1; }

    std::vector<DeviceNotification> takePending() override {
        std::vector<DeviceNotification> pending;
        if (!monitor_) return pending;
        // The monitor's socket is non-blocking: this returns when it is drained.
        while (UdevPtr<udev_device> device{udev_monitor_receive_device(monitor_.get())}) {
            std::string action = udev_device_get_action(device.get()) ? udev_device_get_action(device.get()) : "";
            uint16_t vendor = 0, product = 0, revision = 0;
            if (!usbIds(device.get(), vendor, product, revision)) continue;
            uintptr_t event = action == "add" ? kDeviceArrived : action == "remove" ? kDeviceRemoved : 0x0007;
            pending.push_back({event, true, usbInterfacePath(vendor, product, udev_device_get_sysname(device.get()))});
        }
        return pending;
    }

private:
    UdevPtr<udev> context_;
    UdevPtr<udev_monitor> monitor_;
};

}  // namespace

std::unique_ptr<UsbDeviceList> makeSystemUsbDeviceList() { return std::make_unique<UdevUsbDeviceList>(); }

std::unique_ptr<DeviceNotificationSource> makeSystemDeviceNotifications() {
    return std::make_unique<UdevNotifications>();
}

}  // namespace q30x
