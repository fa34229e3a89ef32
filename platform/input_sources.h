#pragma once
#include <memory>

#include "platform/input_events.h"

namespace q30x {

// Watches the X server's raw input; cannot swallow. Its start() fails without a display.
std::unique_ptr<InputEventSource> makeX11RawInputSource();

}  // namespace q30x
