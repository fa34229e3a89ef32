#pragma once
#include <span>

#include "cli/cli.h"

namespace q30x::cli {

// Every command, in the order the overview lists them.
std::span<const Command> allCommands();

extern const Command kDefaultsCommand;
extern const Command kInitCommand;
extern const Command kMacroCommand;
extern const Command kShowCommand;
extern const Command kListCommand;
extern const Command kInfoCommand;
extern const Command kApplyCommand;
extern const Command kProfileCommand;
extern const Command kSetCommand;
extern const Command kExportCommand;
extern const Command kImportCommand;
extern const Command kResetCommand;
extern const Command kWatchCommand;
extern const Command kStringsCommand;
extern const Command kStatsCommand;
extern const Command kUpdateCommand;

}  // namespace q30x::cli
