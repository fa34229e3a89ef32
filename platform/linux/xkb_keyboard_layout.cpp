#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>
#include <vector>

#include "platform/keyboard_layout.h"

namespace q30x {
namespace {

// X11 key codes are evdev codes shifted by 8.
constexpr uint32_t kX11Offset = 8;

class XkbKeyboardLayout final : public KeyboardLayout {
public:
    explicit XkbKeyboardLayout(const KeyboardLayoutNames& names) {
        context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        if (!context_) return;
        // A layout that does not compile only means no fallback names; the
        // library's complaints would land in every command's output.
        xkb_context_set_log_level(context_, XKB_LOG_LEVEL_CRITICAL);
        const xkb_rule_names rmlvo = {field(names.rules), field(names.model), field(names.layout),
                                      field(names.variant), field(names.options)};
        keymap_ = xkb_keymap_new_from_names(context_, &rmlvo, XKB_KEYMAP_COMPILE_NO_FLAGS);
    }
    ~XkbKeyboardLayout() override {
        if (keymap_) xkb_keymap_unref(keymap_);
        if (context_) xkb_context_unref(context_);
    }
    XkbKeyboardLayout(const XkbKeyboardLayout&) = delete;
    XkbKeyboardLayout& operator=(const XkbKeyboardLayout&) = delete;

    char32_t unshiftedCharacter(uint16_t evdevCode) const override {
        if (!keymap_) return 0;
        const xkb_keysym_t* syms = nullptr;
        int count = xkb_keymap_key_get_syms_by_level(keymap_, evdevCode + kX11Offset, 0, 0, &syms);
        if (count < 1) return 0;
        return xkb_keysym_to_utf32(syms[0]);
    }

private:
    static const char* field(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
};

// The names the X server keeps in the root window's _XKB_RULES_NAMES
// property: rules, model, layout, variant and options, zero-separated.
bool namesFromDisplay(KeyboardLayoutNames& names) {
    if (!std::getenv("DISPLAY")) return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    bool found = false;
    Atom property = XInternAtom(display, "_XKB_RULES_NAMES", True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (property != None &&
        XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1024, False, XA_STRING, &type,
                           &format, &count, &after, &data) == Success &&
        data && format == 8) {
        std::string* fields[] = {&names.rules, &names.model, &names.layout, &names.variant, &names.options};
        std::size_t field = 0;
        for (unsigned long i = 0; i < count && field < std::size(fields); ++i) {
            if (data[i] == 0) ++field;
            else fields[field]->push_back(static_cast<char>(data[i]));
        }
        found = !names.layout.empty();
    }
    if (data) XFree(data);
    XCloseDisplay(display);
    return found;
}

}  // namespace

std::unique_ptr<KeyboardLayout> keyboardLayoutFromNames(const KeyboardLayoutNames& names) {
    return std::make_unique<XkbKeyboardLayout>(names);
}

std::unique_ptr<KeyboardLayout> currentKeyboardLayout() {
    KeyboardLayoutNames names;
    if (!namesFromDisplay(names)) {
        names = {};
        if (!std::getenv("XKB_DEFAULT_LAYOUT")) names.layout = "us";
    }
    return keyboardLayoutFromNames(names);
}

}  // namespace q30x
