#include <ostream>

#include "cli/apply_run.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/setting_words.h"

namespace q30x::cli {
namespace {

int runProfile(Invocation& call) {
    if (call.args.size() > 1) {
        call.err << "usage: q30xctl profile [N]\n";
        return kExitUsage;
    }
    int32_t number = 0;
    if (call.args.size() == 1 && !(readDecimal(call.args[0], number) && number >= 1 && number <= kProfileCount)) {
        call.err << "q30xctl: '" << call.args[0] << "' is not a profile: give 1.." << kProfileCount << "\n";
        return kExitBadInput;
    }
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    const bool json = call.has("json");
    if (number) {
        session.loadMacroLibrary();
        const int before = session.state->currentEntry + 1;
        // As a profile button: a file that does not load leaves the profile current.
        if (!session.store->switchProfile(number - 1)) {
            call.err << "q30xctl: profile " << number << " was not loaded; profile " << before << " stays current\n";
            return kExitBadInput;
        }
        const int status = applyAndSave(call, session, json ? ApplyOutput::Quiet : ApplyOutput::Progress);
        if (status != kExitOk) return status;
    }
    const int current = session.state->currentEntry + 1;
    const std::string file = session.store->profilePath(session.state->currentEntry);
    if (json) {
        JsonWriter out(call.out);
        out.beginObject().key("profile").value(current).key("file").value(file);
        if (number) out.key("applied").value(true);
        out.endObject();
    } else if (!number) {
        call.out << "current profile: " << current << " (" << file << ")\n";
    }
    return kExitOk;
}

}  // namespace

const Command kProfileCommand = {
    "profile", "[N] [--json]", "print the current profile's number, or switch to profile N and apply it",
    "Without N, prints the current profile's number and file. With N (1..5),\n"
    "loads profile N as its profile button does, applies it as OK does and, when\n"
    "the mouse took every step, saves the index, so the switch is kept. A failed\n"
    "step exits with 10 + the step and the previous profile stays selected.\n\n"
    "With --json: {\"profile\": N, \"file\": \"PATH\"}, and \"applied\": true after a\n"
    "switch; progress is not printed then.",
    runProfile};

}  // namespace q30x::cli
