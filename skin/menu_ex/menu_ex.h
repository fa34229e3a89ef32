#pragma once
// The fixed interface of the drop-down menu library libMenuEx.so: the
// program looks up these three names and relies only on them.
#include <cstddef>
#include <cstdint>

namespace q30x {
class MessageTarget;
}

extern "C" {

// One item of the array given to CreateMenuEx.
struct MenuExItem {
    int32_t parent;   // command id of the parent item, kMenuExTopLevel for the top level
    int32_t command;  // reported in the low 16 bits of lParam of message 0x501
    char16_t text[40];  // zero-terminated
};

struct MenuExPoint {
    int32_t x, y;  // screen coordinates
};

inline constexpr int32_t kMenuExTopLevel = 255;

using CreateMenuExFn = int (*)(q30x::MessageTarget* owner, int32_t itemHeight, MenuExPoint topLeft,
                               uint32_t textColour, uint32_t hoverTextColour, uint32_t accentColour,
                               const char16_t* normal, const char16_t* hover, const char16_t* down,
                               const char16_t* normalLast, const char16_t* subNormal, const char16_t* subHover,
                               const char16_t* subDown, const char16_t* subNormalLast, const MenuExItem* items,
                               int32_t count);
using DestroyMenuExFn = void (*)();
using DllPreTranslateMessageFn = int (*)(void* message);

}

static_assert(sizeof(MenuExItem) == 88, "the item record is 88 bytes");
static_assert(offsetof(MenuExItem, parent) == 0);
static_assert(offsetof(MenuExItem, command) == 4);
static_assert(offsetof(MenuExItem, text) == 8);
