#include "cli/session.h"

#include <cstring>

#include "i18n/language_choice.h"

namespace q30x::cli {

Session::Session(Invocation& call)
    : folders(call.folders()), messages(call.err), state(std::make_unique<SettingsState>()) {
    language.chineseUi = 0;
    store = std::make_unique<ProfileStore>(*state, SettingsContext{folders, messages, strings, language});
}

void Session::startUp() {
    seedWorkingFolder(folders);
    // The program applies the stored language only once its window runs; here
    // it comes first so that the messages of the load already have their texts.
    applyStoredLanguage();
    store->loadProfileIndexAndCurrent();
    const auto& refs = state->currentIndexEntry().macroRefs;
    std::memcpy(state->macroRefs.data(), refs, sizeof refs);
}

void Session::applyStoredLanguage() {
    LanguageContext context{folders, messages, language, strings};
    applyLanguage(context, kLanguageAtStartUp, readLanguageChoice(folders, messages), false);
}

}  // namespace q30x::cli
