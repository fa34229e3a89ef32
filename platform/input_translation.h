#pragma once
#include <optional>

#include "platform/input_events.h"

namespace q30x {

// Linux pointer input in the hooks' numbering. Both the evdev codes (BTN_*,
// REL_WHEEL) and the X11 core button numbers arrive here, so the two input
// backends name buttons the same way.

// An evdev button code pressed or released; nullopt for a button the hooks do not know.
std::optional<MouseEvent> mouseEventOfEvdevButton(int code, bool pressed);

// An X11 button number (1 left, 2 middle, 3 right, 4/5 wheel, 8 back, 9 forward).
// Wheel "buttons" give one notch on press and nothing on release.
std::optional<MouseEvent> mouseEventOfX11Button(int button, bool pressed);

// Wheel notches as evdev's REL_WHEEL reports them (positive: away from the user).
MouseEvent mouseEventOfWheel(int notches);

}  // namespace q30x
