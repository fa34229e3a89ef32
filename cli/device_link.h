#pragma once
#include <fstream>
#include <memory>
#include <optional>

#include "cli/cli.h"
#include "device/trace.h"
#include "device/usb_driver.h"
#include "platform/clock.h"
#include "platform/hid.h"

namespace q30x::cli {

// The device link of one command with what it runs on: the real HID stack
// or the virtual mouse (--virtual-mouse, Q30X_VIRTUAL_MOUSE=1), a real or
// skipping clock (--no-delays), and the trace (--trace, Q30X_TRACE).
class DeviceLink {
public:
    // False, with the reason on call.err, when the options do not fit.
    bool setUp(Invocation& call);
    CUSBDriver& link() { return *link_; }
    HidBackend& backend() { return *backend_; }
    bool isVirtual() const { return virtual_; }
    // The trace of --trace, or nullptr.
    Trace* trace() { return trace_.get(); }
    bool tracesToStandardOutput() const { return traceToOut_; }

private:
    bool virtual_ = false;
    bool traceToOut_ = false;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<HidBackend> backend_;
    std::ofstream traceFile_;
    std::unique_ptr<Trace> trace_;
    std::unique_ptr<CUSBDriver> link_;
};

}  // namespace q30x::cli
