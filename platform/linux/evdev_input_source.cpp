// Desktop input from the event devices. The mouse's own pointer device is
// grabbed only while something is intercepted; its events then come back to
// the desktop through a uinput twin, minus what the hooks swallowed.
#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>
#include <libudev.h>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/evdev_frames.h"
#include "platform/input_sources.h"
#include "platform/linux/wake_pipe.h"

namespace q30x {
namespace {

constexpr const char* kTwinName = "Q30X pointer (re-emitted)";

struct InputDevice {
    int fd = -1;
    libevdev* evdev = nullptr;
    bool isQ30xPointer = false;
};

bool property(udev_device* device, const char* name, const char* value) {
    const char* actual = udev_device_get_property_value(device, name);
    return actual && std::strcmp(actual, value) == 0;
}

// The pointer and keyboard event devices of the desktop, opened for reading.
std::vector<InputDevice> openInputDevices() {
    std::vector<InputDevice> devices;
    udev* context = udev_new();
    if (!context) return devices;
    udev_enumerate* list = udev_enumerate_new(context);
    udev_enumerate_add_match_subsystem(list, "input");
    udev_enumerate_add_match_sysname(list, "event*");
    udev_enumerate_scan_devices(list);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(list)) {
        udev_device* device = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
        if (!device) continue;
        bool pointer = property(device, "ID_INPUT_MOUSE", "1");
        bool keyboard = property(device, "ID_INPUT_KEYBOARD", "1");
        const char* node = udev_device_get_devnode(device);
        if ((pointer || keyboard) && node) {
            InputDevice opened;
            opened.fd = ::open(node, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (opened.fd >= 0 && libevdev_new_from_fd(opened.fd, &opened.evdev) == 0 &&
                std::strcmp(libevdev_get_name(opened.evdev), kTwinName) != 0) {
                opened.isQ30xPointer = pointer && libevdev_get_id_vendor(opened.evdev) == 0x3C1F &&
                                       libevdev_get_id_product(opened.evdev) == 0x7E02;
                devices.push_back(opened);
            } else {
                if (opened.evdev) libevdev_free(opened.evdev);
                if (opened.fd >= 0) ::close(opened.fd);
            }
        }
        udev_device_unref(device);
    }
    udev_enumerate_unref(list);
    udev_unref(context);
    return devices;
}

class EvdevInputSource final : public InputEventSource {
public:
    ~EvdevInputSource() override { stop(); }

    bool start(InputEventSink& sink) override {
        stop();
        devices_ = openInputDevices();
        // Keys matter as much as buttons (statistics, recorders): with only
        // some devices readable the observe-only source serves better.
        bool pointer = false, keyboard = false;
        for (const auto& device : devices_) {
            pointer = pointer || libevdev_has_event_type(device.evdev, EV_REL);
            keyboard = keyboard || libevdev_has_event_code(device.evdev, EV_KEY, KEY_A);
        }
        if (!pointer || !keyboard || !wake_.open()) {
            closeDevices();
            return false;
        }
        running_ = true;
        InputEventSink* target = &sink;
        reader_ = std::thread([this, target] { read(*target); });
        return true;
    }

    void stop() override {
        if (reader_.joinable()) {
            running_ = false;
            wake_.wake();
            reader_.join();
            wake_.close();
        }
        setSwallowing(false);
        closeDevices();
    }

    // Swallowing needs the grab and the twin; without either it is refused.
    bool canSwallow() const override { return ::access("/dev/uinput", W_OK) == 0; }

    void setSwallowing(bool on) override {
        std::lock_guard lock(grabMutex_);
        for (auto& device : devices_) {
            if (!device.isQ30xPointer) continue;
            if (on && !twin_ && libevdev_uinput_create_from_device(device.evdev, LIBEVDEV_UINPUT_OPEN_MANAGED, &twin_) != 0)
                twin_ = nullptr;
            bool grab = on && twin_;
            libevdev_grab(device.evdev, grab ? LIBEVDEV_GRAB : LIBEVDEV_UNGRAB);
            grabbed_ = grab;
        }
        if (!on && twin_) {
            libevdev_uinput_destroy(twin_);
            twin_ = nullptr;
        }
    }

private:
    void read(InputEventSink& sink) {
        std::vector<pollfd> fds;
        std::vector<EvdevFrameFilter> filters;
        for (const auto& device : devices_) {
            fds.push_back({device.fd, POLLIN, 0});
            filters.emplace_back(sink);
        }
        fds.push_back({wake_.readFd(), POLLIN, 0});
        while (running_ && ::poll(fds.data(), fds.size(), -1) >= 0) {
            if (fds.back().revents & POLLIN) break;
            for (std::size_t i = 0; i < devices_.size(); ++i)
                if (fds[i].revents & POLLIN) drain(devices_[i], filters[i]);
        }
    }

    void drain(InputDevice& device, EvdevFrameFilter& filter) {
        input_event raw{};
        int flag = LIBEVDEV_READ_FLAG_NORMAL;
        int rc = 0;
        // libevdev is not thread-safe per device: a grab from another thread waits for the read.
        std::lock_guard lock(grabMutex_);
        while ((rc = libevdev_next_event(device.evdev, flag, &raw)) >= 0) {
            // After dropped events the device is resynchronised before reading on.
            flag = rc == LIBEVDEV_READ_STATUS_SYNC ? LIBEVDEV_READ_FLAG_SYNC : LIBEVDEV_READ_FLAG_NORMAL;
            EvdevEvent event{raw.type, raw.code, raw.value};
            std::vector<EvdevEvent> keep = filter.feed(event);
            if (!device.isQ30xPointer || !grabbed_ || !twin_) continue;
            for (const auto& e : keep) libevdev_uinput_write_event(twin_, e.type, e.code, e.value);
        }
    }

    void closeDevices() {
        for (auto& device : devices_) {
            libevdev_free(device.evdev);
            ::close(device.fd);
        }
        devices_.clear();
    }

    std::vector<InputDevice> devices_;
    std::thread reader_;
    std::atomic<bool> running_{false};
    WakePipe wake_;
    std::mutex grabMutex_;
    libevdev_uinput* twin_ = nullptr;
    bool grabbed_ = false;
};

}  // namespace

std::unique_ptr<InputEventSource> makeEvdevInputSource() { return std::make_unique<EvdevInputSource>(); }

}  // namespace q30x
