#include <ostream>

#include "cli/apply_run.h"
#include "cli/commands.h"
#include "pages/profile_transfer.h"
#include "platform/utf16.h"

namespace q30x::cli {
namespace {

int exportTo(Invocation& call, Session& session) {
    const TransferResult result = exportProfileFile(call.args[0], session.state->current);
    (result.done ? call.out : call.err) << toUtf8(result.text) << "\n";
    return result.done ? kExitOk : kExitFailure;
}

int importFrom(Invocation& call, Session& session) {
    const TransferResult result = importProfile(call.args[0], *session.state);
    if (!result.done) {
        call.err << toUtf8(result.text) << "\n";
        return kExitBadInput;
    }
    call.out << toUtf8(result.text) << "\n";
    return applyAndSave(call, session, ApplyOutput::Progress);
}

int resetToDefaults(Invocation& call, Session& session) {
    restoreDefaults(*session.state, session.language.chineseUi);
    return applyAndSave(call, session, ApplyOutput::Progress);
}

int runExport(Invocation& call) { return runWithSession(call, 1, "export FILE", false, exportTo); }
int runImport(Invocation& call) { return runWithSession(call, 1, "import FILE", true, importFrom); }
int runReset(Invocation& call) { return runWithSession(call, 0, "reset", true, resetToDefaults); }

}  // namespace

const Command kExportCommand = {
    "export", "FILE", "write the current profile to a profile file, as the support page does",
    "Writes the current profile's 22252-byte record to FILE, replacing it.\n"
    "Exit status 1 when FILE cannot be written.",
    runExport};

const Command kImportCommand = {
    "import", "FILE", "take a profile file as the current profile, apply it and save it",
    "Reads FILE as the support page's import does (it must start with the\n"
    "profile magic and be no longer than a record), then applies the profile as\n"
    "OK does and saves it when the mouse took every step. A file that is not a\n"
    "profile exits with status 2 and changes nothing; a failed apply step exits\n"
    "with 10 + the step and saves nothing.",
    runImport};

const Command kResetCommand = {
    "reset", "", "restore the default settings of the current profile, apply and save",
    "Does what the support page's restore button does: the current profile gets\n"
    "the factory settings and no macro references, is applied as OK does and is\n"
    "saved when the mouse took every step (else exit 10 + the step, nothing saved).",
    runReset};

}  // namespace q30x::cli
