#include <cstring>
#include <memory>
#include <ostream>
#include <vector>

#include "cli/commands.h"
#include "platform/files.h"
#include "settings/default_files.h"

namespace q30x::cli {
namespace {

int runDefaults(Invocation& call) {
    if (call.args.size() != 1) {
        call.err << "usage: q30xctl defaults DIR\n";
        return kExitUsage;
    }
    const std::string& folder = call.args[0];
    for (const auto& file : factoryDefaultFiles()) {
        std::string path = joinPath(folder, file.name);
        createDirectories(path.substr(0, path.find_last_of('/')));
        if (writeFileAtomic(path, file.bytes, FileAccess::UserDefault) != FileError::None) {
            call.err << "q30xctl: cannot write " << path << "\n";
            return kExitFailure;
        }
    }
    return kExitOk;
}

}  // namespace

const Command kDefaultsCommand = {
    "defaults", "DIR", "write the nine factory default files into DIR",
    "Writes Macro.cfg, Language.cfg, Sts.cfg, Profile/ConfigInfo.cfg and\n"
    "Profile/Profile1.cfg .. Profile5.cfg as the program folder holds them;\n"
    "the working folder is seeded from these on the first start.",
    runDefaults};

}  // namespace q30x::cli
