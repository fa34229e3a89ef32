#pragma once
#include <memory>

#include "cli/cli.h"
#include "cli/console_messages.h"
#include "i18n/catalogue.h"
#include "settings/profile_store.h"

namespace q30x::cli {

// The settings state of the working folder as the program holds it after
// start-up: seeded, index and current profile loaded, macro references taken.
struct Session {
    explicit Session(Invocation& call);

    Folders folders;
    ConsoleMessages messages;
    LanguageState language;
    StringCatalogue strings;
    std::unique_ptr<SettingsState> state;
    std::unique_ptr<ProfileStore> store;

    // Seeds the working folder and loads it the way the program starts.
    void startUp();
    // Reads Language.cfg and applies that language as the start-up message does.
    void applyStoredLanguage();
};

}  // namespace q30x::cli
