#include "cli/commands.h"

namespace q30x::cli {

std::span<const Command> allCommands() {
    static const Command commands[] = {
        kDefaultsCommand,
        kInitCommand,
        kMacroCommand,
        kShowCommand,
        kListCommand,
        kInfoCommand,
        kApplyCommand,
        kProfileCommand,
        kSetCommand,
        kExportCommand,
        kImportCommand,
        kResetCommand,
        kWatchCommand,
        kStringsCommand,
        kStatsCommand,
        kUpdateCommand,
    };
    return commands;
}

}  // namespace q30x::cli
