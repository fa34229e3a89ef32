#pragma once
#include "app/program_state.h"
#include "i18n/language_choice.h"
#include "platform/input_events.h"
#include "platform/virtual/instant_clock.h"

namespace q30x {

// The process-wide state a page needs, for a page shown without the main
// window (the gallery and the page tests): the default profile, an empty
// macro library, hooks that hear nothing, and the language `number` loaded
// from the program folder. The page's hints go to `mainWindow`.
struct StandaloneState {
    StandaloneState(Folders where, UserMessages& messages, MessageTarget& mainWindow, int32_t number)
        : folders(std::move(where)),
          profiles(settings, SettingsContext{folders, messages, strings, language}),
          macroStore(macros, SettingsContext{folders, messages, strings, language}, clock),
          hooks(input),
          state{folders, language, strings, messages, settings, profiles, macros, macroStore, hooks, mainWindow} {
        LanguageContext context{folders, messages, language, strings};
        loadLanguage(context, number);
        fillProfileDefaults(settings.current, language.chineseUi);
    }

    Folders folders;
    LanguageState language;
    StringCatalogue strings;
    SettingsState settings;
    ProfileStore profiles;
    MacroLibrary macros;
    InstantClock clock;
    MacroStore macroStore;
    QuietInputSource input{false};
    InputHooks hooks;
    ProgramState state;
};

}  // namespace q30x
