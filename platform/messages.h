#pragma once
#include <cstdint>

namespace q30x::msg {

// Window messages that cross subsystems, with the numbers peers rely on.
inline constexpr uint32_t kClose = 0x0010;               // WM_CLOSE
inline constexpr uint32_t kSettingChange = 0x001A;       // WM_WININICHANGE: action code / its values
inline constexpr uint32_t kDeviceChange = 0x0219;        // WM_DEVICECHANGE
inline constexpr uint32_t kApplyLanguage = 1025;         // 272 at start-up, else 0 / language number
inline constexpr uint32_t kHookInput = 1034;             // virtual key / key flags, or mouse event code / 0
inline constexpr uint32_t kApplyProgress = 1067;         // percent / 0
inline constexpr uint32_t kProgressBarChanged = 1104;    // value / control id
inline constexpr uint32_t kListSelectionChanged = 1125;  // owner-drawn list box
inline constexpr uint32_t kTrayNotify = 1132;            // 0 / mouse message on the icon
inline constexpr uint32_t kListRowRenamed = 1136;        // owner-drawn list box
inline constexpr uint32_t kStatsInput = 1225;            // the forwarded kInputEvent
inline constexpr uint32_t kStatsTick = 1226;             // 500 ms sampling tick
inline constexpr uint32_t kGameGroupChosen = 1281;       // chosen game group
inline constexpr uint32_t kMenuChoice = 0x501;           // drop-down menu library's choice
inline constexpr uint32_t kApplySucceeded = 1795;
inline constexpr uint32_t kApplyFailed = 1796;           // 0 / failed step 0 to 5
inline constexpr uint32_t kBitmapButtonNotify = 1805;    // 0x201 pressed, 0x202 released / button
inline constexpr uint32_t kInputEvent = 2027;            // input code or 1 / 0 or key flags
inline constexpr uint32_t kSliderChanged = 2048;         // position / control id
inline constexpr uint32_t kShowHint = 2053;              // 0 / hint number
inline constexpr uint32_t kRestoreDefaults = 2054;
// The program's own: the macro file writer's thread could not write the file.
inline constexpr uint32_t kMacroFileNotWritten = 2061;  // FileError / 0
// The program's own: the update thread's answer to the support page.
inline constexpr uint32_t kUpdateAnswer = 2056;          // round / what was found

// Parameters that come with some of them.
inline constexpr uintptr_t kLanguageAtStartup = 0x110;
inline constexpr intptr_t kTrayDoubleClick = 0x203;
inline constexpr uintptr_t kButtonPressed = 0x201;
inline constexpr uintptr_t kButtonReleased = 0x202;
inline constexpr uintptr_t kDeviceArrival = 0x8000;
inline constexpr uintptr_t kDeviceRemoval = 0x8004;

}  // namespace q30x::msg
