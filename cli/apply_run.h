#pragma once
#include "cli/cli.h"
#include "cli/session.h"

namespace q30x::cli {

// A failed apply step s exits with this plus s (10 key table .. 15 DPI).
inline constexpr int kExitStepBase = 10;

// Whether an apply shows its progress and its outcome on standard output.
enum class ApplyOutput { Progress, Quiet };

// What OK does after the pages were edited: writes the session's current
// profile to the mouse and, when the mouse took every step, saves the
// profile and the index. The session has started up and loaded its macro
// library. Returns kExitOk; kExitFailure when there is no mouse; kExitUsage
// for link options that do not fit; or kExitStepBase + the failed step,
// with its text on standard error and nothing saved.
int applyAndSave(Invocation& call, Session& session, ApplyOutput output);

}  // namespace q30x::cli
