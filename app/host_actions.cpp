#include "app/host_actions.h"

#include "device/key_codes.h"
#include "platform/utf16.h"

namespace q30x {

HostAction hostActionFor(const ProfileRecord& record, uintptr_t inputCode) {
    const int index = buttonIndexOfInputCode(static_cast<uint32_t>(inputCode));
    // The left button stops here: it never carries a host action.
    if (index <= 0) return {};
    const ButtonAssignment& button = record.buttons[static_cast<std::size_t>(index)];
    if (button.functionType != kFunctionAdvanced) return {};
    return {button.advancedKind, toUtf8(fixedText(button.targetPath))};
}

std::string openerArgument(const std::string& path) { return path.rfind('-', 0) == 0 ? "./" + path : path; }

std::string programPath(const std::string& path) { return path.find('/') == std::string::npos ? "./" + path : path; }

bool runHostAction(const HostAction& action, ProgramLauncher& launcher, SoundPlayer& sound) {
    if (action.path.empty()) return false;
    switch (action.kind) {
    case kAdvancedSound:
        return sound.play(action.path);
    case kAdvancedProgram:
        if (isExecutableFile(action.path)) return launcher.launch(programPath(action.path), {});
        return launcher.launch(kOpener, {openerArgument(action.path)});
    case kAdvancedFile:
    case kAdvancedFolder:
        return launcher.launch(kOpener, {openerArgument(action.path)});
    default:
        return false;
    }
}

}  // namespace q30x
