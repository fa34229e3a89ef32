#include "cli/apply_run.h"
#include "cli/commands.h"

namespace q30x::cli {
namespace {

int runApply(Invocation& call) {
    return runWithSession(call, 0, "apply", true, [](Invocation& call, Session& session) {
        return applyAndSave(call, session, ApplyOutput::Progress);
    });
}

}  // namespace

const Command kApplyCommand = {
    "apply", "", "write the current profile to the mouse, as OK does, and save it",
    "Loads the working folder as the program does at start-up, writes the current\n"
    "profile to the mouse frame by frame (key table with its macros, lighting,\n"
    "proximity sensing, DPI, the desktop pointer settings, report rate) and, when\n"
    "the mouse took it all, saves the profile and the index. A failed step prints\n"
    "its text and exits with 10 + the step (10 key table .. 15 DPI), saving nothing.\n"
    "With --virtual-mouse the desktop is left alone unless --desktop is given.",
    runApply};

}  // namespace q30x::cli
