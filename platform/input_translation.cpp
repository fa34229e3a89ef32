#include "platform/input_translation.h"

namespace q30x {
namespace {

// evdev's BTN_* codes (linux/input-event-codes.h), named here so the core
// needs no OS header.
constexpr int kBtnLeft = 0x110;
constexpr int kBtnRight = 0x111;
constexpr int kBtnMiddle = 0x112;
constexpr int kBtnSide = 0x113;
constexpr int kBtnExtra = 0x114;
constexpr int kBtnForward = 0x115;
constexpr int kBtnBack = 0x116;

enum class Button { Left, Right, Middle, Back, Forward };

MouseEvent eventOf(Button button, bool pressed) {
    switch (button) {
    case Button::Left: return {pressed ? kLeftDown : kLeftUp, 0};
    case Button::Right: return {pressed ? kRightDown : kRightUp, 0};
    case Button::Middle: return {pressed ? kMiddleDown : kMiddleUp, 0};
    case Button::Back: return {pressed ? kSideDown : kSideUp, kSideBack};
    case Button::Forward: return {pressed ? kSideDown : kSideUp, kSideForward};
    }
    return {kMouseMove, 0};
}

}  // namespace

std::optional<MouseEvent> mouseEventOfEvdevButton(int code, bool pressed) {
    switch (code) {
    case kBtnLeft: return eventOf(Button::Left, pressed);
    case kBtnRight: return eventOf(Button::Right, pressed);
    case kBtnMiddle: return eventOf(Button::Middle, pressed);
    case kBtnSide:
    case kBtnBack: return eventOf(Button::Back, pressed);
    case kBtnExtra:
    case kBtnForward: return eventOf(Button::Forward, pressed);
    default: return std::nullopt;
    }
}

std::optional<MouseEvent> mouseEventOfX11Button(int button, bool pressed) {
    switch (button) {
    case 1: return eventOf(Button::Left, pressed);
    case 2: return eventOf(Button::Middle, pressed);
    case 3: return eventOf(Button::Right, pressed);
    case 4: return pressed ? std::optional(mouseEventOfWheel(1)) : std::nullopt;
    case 5: return pressed ? std::optional(mouseEventOfWheel(-1)) : std::nullopt;
    case 8: return eventOf(Button::Back, pressed);
    case 9: return eventOf(Button::Forward, pressed);
    default: return std::nullopt;
    }
}

MouseEvent mouseEventOfWheel(int notches) {
    // The delta sits in the high word of the mouse data, as the system reports it.
    return {kWheel, static_cast<int32_t>(static_cast<uint32_t>(notches * 120) << 16)};
}

}  // namespace q30x
