#pragma once
#include <cstdint>
#include <string>

#include "platform/devices.h"
#include "platform/sound_player.h"
#include "settings/profile_record.h"

namespace q30x {

// The opener of files and folders on a Linux desktop.
inline constexpr const char* kOpener = "xdg-open";

// What an input event asks of the computer: the button of the input code
// (left and keys excluded) with an advanced action and a path.
struct HostAction {
    int32_t kind = 0;  // kAdvancedSound .. kAdvancedFolder, 0 for none
    std::string path;  // UTF-8
};
HostAction hostActionFor(const ProfileRecord& record, uintptr_t inputCode);

// The argument that hands `path` to the opener unchanged in meaning: a
// leading "-" would be read as an option, so such a path gets "./" before it.
std::string openerArgument(const std::string& path);
// The program `path` names, as a path that is never looked up in PATH: a
// name without a folder gets "./" before it, so the file that was found
// executable is the one that runs.
std::string programPath(const std::string& path);

// Performs the action: a sound is played; a program that is executable is
// started itself, anything else is opened with the desktop's opener. The
// path always travels as one argument, never through a shell. True when
// something was started.
bool runHostAction(const HostAction& action, ProgramLauncher& launcher, SoundPlayer& sound);

}  // namespace q30x
