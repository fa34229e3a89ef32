#include <ostream>

#include "cli/commands.h"
#include "cli/session.h"

namespace q30x::cli {
namespace {

int runInit(Invocation& call) {
    if (!call.args.empty()) {
        call.err << "usage: q30xctl init\n";
        return kExitUsage;
    }
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    call.out << "working folder " << session.folders.working << ": profile " << session.state->currentEntry + 1
             << " is current\n";
    return kExitOk;
}

}  // namespace

const Command kInitCommand = {
    "init", "", "seed and load the working folder as the program does at start-up",
    "Creates the working folder from the program folder's defaults on the first\n"
    "run, then loads the profile index and the current profile. Messages the\n"
    "program would show are printed on standard error.",
    runInit};

}  // namespace q30x::cli
