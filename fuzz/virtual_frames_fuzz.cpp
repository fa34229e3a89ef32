// Any bytes as what the virtual mouse is told and sent: its settings as the
// environment gives them (one line each: what to fail, the firmware
// version, whether a decoy is listed), then transfers to its vendor interface, each an
// operation byte, a length byte and that many bytes. The firmware must check
// every frame without crashing, count only what it took while plugged, and
// answer the version request with the version it was given.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/virtual/instant_clock.h"
#include "platform/virtual/virtual_mouse.h"

using namespace q30x;

namespace {

enum Operation : uint8_t { kSetFeature, kGetFeature, kOutput, kReplug, kReopen, kOperations };

constexpr const char* kVendorPath = "virtual/vendor";

std::string_view line(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    const std::string_view first = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return first;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string fail(line(rest)), firmware(line(rest)), decoy(line(rest));
    const VirtualConfigRead read = readVirtualMouseConfig(fail.c_str(), firmware.c_str(), decoy.c_str());
    // The program refuses to start on a setting it cannot read.
    if (!read.error.empty()) return 0;

    InstantClock clock;
    VirtualMouse mouse(read.config, clock);
    std::unique_ptr<HidDevice> device = mouse.open(kVendorPath);
    fuzz::expect((device != nullptr) != read.config.vendorAbsent, "the vendor interface opens unless told not to");
    bool plugged = true;
    const auto* at = reinterpret_cast<const uint8_t*>(rest.data());
    const auto* end = at + rest.size();
    while (end - at >= 2) {
        // An unplug fault pulls the cable itself, in the middle of a transfer.
        plugged = mouse.plugged();
        const auto operation = static_cast<Operation>(at[0] % kOperations);
        const std::size_t length = std::min<std::size_t>(at[1], static_cast<std::size_t>(end - at - 2));
        std::vector<uint8_t> frame(at + 2, at + 2 + length);
        at += 2 + length;
        if (operation == kReplug) {
            plugged = !plugged;
            mouse.setPlugged(plugged);
            continue;
        }
        if (operation == kReopen) {
            fuzz::expect(mouse.enumerate().empty() != plugged, "a plugged mouse, and only one, to list interfaces");
            device = mouse.open(kVendorPath);
            continue;
        }
        if (!device) continue;
        const int acceptedBefore = mouse.state().framesAccepted;
        bool taken = false;
        if (operation == kSetFeature) {
            taken = device->setFeature(frame);
        } else if (operation == kOutput) {
            taken = device->writeOutput(frame, 1500) == HidWrite::Written;
        } else if (device->getFeature(frame)) {
            fuzz::expect(plugged, "an unplugged mouse to answer nothing");
            if (frame[1] == 0x80)
                fuzz::expect(frame[2] * 10 + frame[3] == read.config.firmwareVersion, "the version it was given");
            continue;
        }
        fuzz::expect(!taken || plugged, "an unplugged mouse to take nothing");
        fuzz::expect(mouse.state().framesAccepted == acceptedBefore + (taken ? 1 : 0), "only taken frames counted");
    }
    return 0;
}
