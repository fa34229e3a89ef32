// The cost of the link itself, without the mouse's pacing: frames through
// CUSBDriver against the virtual mouse with the pauses skipped, and the
// report-descriptor parser.
#include <benchmark/benchmark.h>

#include "device/usb_driver.h"
#include "platform/hid_descriptor.h"
#include "platform/virtual/instant_clock.h"
#include "platform/virtual/virtual_mouse.h"

namespace q30x {
namespace {

struct VirtualLinkSetup {
    InstantClock clock;
    VirtualMouse mouse{VirtualMouseConfig{}, clock};
    CUSBDriver link{mouse, clock};
    VirtualLinkSetup() {
        if (!link.openDevice()) std::abort();
    }
};

// One set-feature and one get-feature: the firmware-version request.
void BM_FeatureRoundTrip(benchmark::State& state) {
    VirtualLinkSetup setup;
    int version = 0;
    for (auto _ : state) {
        bool ok = setup.link.readFirmwareVersion(version);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_FeatureRoundTrip);

// The key table: one command frame and two output reports.
void BM_KeyTableWrite(benchmark::State& state) {
    VirtualLinkSetup setup;
    const std::array<uint8_t, 64> table{};
    for (auto _ : state) {
        bool ok = setup.link.writeKeyTable(table);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_KeyTableWrite);

// Enumerating the three interfaces, parsing their descriptors and matching.
void BM_OpenDevice(benchmark::State& state) {
    VirtualLinkSetup setup;
    for (auto _ : state) {
        bool ok = setup.link.openDevice();
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_OpenDevice);

void BM_ParseDescriptor(benchmark::State& state) {
    const std::span<const uint8_t> descriptors[] = {virtualPointerDescriptor(), virtualKeyboardDescriptor(),
                                                    virtualVendorDescriptor()};
    std::span<const uint8_t> bytes = descriptors[state.range(0)];
    for (auto _ : state) {
        HidDescriptor parsed = parseHidDescriptor(bytes);
        auto caps = hidValueCaps(parsed, HidReportKind::Feature);
        benchmark::DoNotOptimize(caps.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseDescriptor)->ArgName("descriptor")->DenseRange(0, 2);  // 0 pointer, 1 keyboard, 2 vendor

}  // namespace
}  // namespace q30x
