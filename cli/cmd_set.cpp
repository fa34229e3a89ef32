#include <ostream>

#include "cli/apply_run.h"
#include "cli/commands.h"
#include "cli/setting_words.h"

namespace q30x::cli {
namespace {

int runSet(Invocation& call) {
    if (call.args.empty()) {
        call.err << "usage: q30xctl set SETTING=VALUE... (q30xctl set --help lists the settings)\n";
        return kExitUsage;
    }
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    session.loadMacroLibrary();
    const auto layout = currentKeyboardLayout();
    const SettingContext context{*session.macros, session.language, *layout};
    // Every word is tried, so one run names every refusal; any refusal
    // leaves the mouse and the files as they were.
    bool refused = false;
    for (const std::string& word : call.args) {
        const std::string refusal = storeSetting(*session.state, word, context);
        if (refusal.empty()) continue;
        call.err << "q30xctl: " << word << ": " << refusal << "\n";
        refused = true;
    }
    if (refused) {
        call.err << "q30xctl: nothing was changed\n";
        return kExitBadInput;
    }
    return applyAndSave(call, session, ApplyOutput::Progress);
}

const std::string kSetHelp =
    "Changes settings of the current profile, each by the rule of the page that\n"
    "edits it, in the order given (as clicks on the pages would: a button may\n"
    "leave Click once another one has taken it). Then it applies the profile\n"
    "once, as OK does, and saves it when the mouse took every step.\n"
    "An unknown setting, a value out of range or a refused assignment is named\n"
    "with the reason, and exits with status 2 before anything is applied or\n"
    "saved. A failed apply step exits with 10 + the step and saves nothing.\n\n" +
    settingsHelp();

}  // namespace

const Command kSetCommand = {
    "set", "SETTING=VALUE...", "change settings of the current profile, apply once and save",
    kSetHelp.c_str(), runSet};

}  // namespace q30x::cli
