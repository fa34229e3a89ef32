#pragma once
#include <memory>

#include "platform/input_events.h"

namespace q30x {

// Watches the X server's raw input; cannot swallow. Its start() fails without a display.
std::unique_ptr<InputEventSource> makeX11RawInputSource();

// Reads the pointer and keyboard event devices (needs read access to
// /dev/input, and /dev/uinput to swallow); start() fails unless at least one
// pointer and one keyboard can be read.
std::unique_ptr<InputEventSource> makeEvdevInputSource();

}  // namespace q30x
