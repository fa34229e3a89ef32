#include "cli/session.h"

#include <cstring>

namespace q30x::cli {

Session::Session(Invocation& call)
    : folders(call.folders()), messages(call.err), state(std::make_unique<SettingsState>()) {
    language.chineseUi = 0;
    store = std::make_unique<ProfileStore>(*state, SettingsContext{folders, messages, strings, language});
}

void Session::startUp() {
    seedWorkingFolder(folders);
    store->loadProfileIndexAndCurrent();
    const auto& refs = state->currentIndexEntry().macroRefs;
    std::memcpy(state->macroRefs.data(), refs, sizeof refs);
}

}  // namespace q30x::cli
