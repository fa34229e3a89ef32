#include "cli/session.h"

#include <charconv>
#include <cstring>
#include <ostream>

#include "i18n/language_choice.h"

namespace q30x::cli {

Session::Session(Invocation& call)
    : folders(call.folders()), messages(call.err), state(std::make_unique<SettingsState>()), err_(call.err) {
    language.chineseUi = 0;
    if (call.has("language")) {
        const std::string& text = call.options["language"];
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), languageOption_);
        if (error != std::errc() || end != text.data() + text.size() || !findLanguage(languageOption_))
            languageOption_ = -1;
        if (languageOption_ < 0)
            err_ << "q30xctl: --language needs a language number 1..12, not '" << text << "'\n";
    }
    store = std::make_unique<ProfileStore>(*state, SettingsContext{folders, messages, strings, language});
}

void Session::loadMacroLibrary() {
    macros = std::make_unique<MacroLibrary>();
    macroStore = std::make_unique<MacroStore>(*macros, SettingsContext{folders, messages, strings, language}, clock);
    macroStore->loadFile();
}

bool Session::startUp() {
    if (!languageOptionValid()) return false;
    seedWorkingFolder(folders);
    // The program applies the stored language only once its window runs; here
    // it comes first so that the messages of the load already have their texts.
    applyStoredLanguage();
    store->loadProfileIndexAndCurrent();
    const auto& refs = state->currentIndexEntry().macroRefs;
    std::memcpy(state->macroRefs.data(), refs, sizeof refs);
    return true;
}

void Session::applyStoredLanguage() {
    LanguageContext context{folders, messages, language, strings};
    if (languageOption_ > 0) loadLanguage(context, languageOption_);
    else applyLanguage(context, kLanguageAtStartUp, readLanguageChoice(folders, messages), false);
}

int runWithSession(Invocation& call, std::size_t words, const char* usage, bool macros,
                   int (*body)(Invocation&, Session&)) {
    if (call.args.size() != words) {
        call.err << "usage: q30xctl " << usage << "\n";
        return kExitUsage;
    }
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    if (macros) session.loadMacroLibrary();
    return body(call, session);
}

}  // namespace q30x::cli
