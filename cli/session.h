#pragma once
#include <memory>

#include "cli/cli.h"
#include "cli/console_messages.h"
#include "i18n/catalogue.h"
#include "macros/macro_store.h"
#include "platform/clock.h"
#include "settings/profile_store.h"

namespace q30x::cli {

// The settings state of the working folder as the program holds it after
// start-up: seeded, index and current profile loaded, macro references taken.
struct Session {
    explicit Session(Invocation& call);

    // False, with a message, when a --language option is not 1..12.
    bool languageOptionValid() const { return languageOption_ >= 0; }

    Folders folders;
    ConsoleMessages messages;
    LanguageState language;
    StringCatalogue strings;
    std::unique_ptr<SettingsState> state;
    std::unique_ptr<ProfileStore> store;
    RealClock clock;  // the macro file's save pauses
    std::unique_ptr<MacroLibrary> macros;
    std::unique_ptr<MacroStore> macroStore;

    // Seeds the working folder and loads it the way the program starts.
    // False, having said why, for a --language option that is not 1..12.
    bool startUp();
    // Applies --language for this run only, or else reads Language.cfg and
    // applies that language as the start-up message does.
    void applyStoredLanguage();
    // Loads "Macro.cfg" as the main window does while it starts.
    void loadMacroLibrary();

private:
    std::ostream& err_;
    int32_t languageOption_ = 0;  // 0: none; -1: not a language number
};

// The frame of a command on the working folder: exactly `words` words (else
// "usage: q30xctl USAGE" and kExitUsage), the session started up, with the
// macro library when `macros`, then `body`'s exit status.
int runWithSession(Invocation& call, std::size_t words, const char* usage, bool macros,
                   int (*body)(Invocation&, Session&));

}  // namespace q30x::cli
