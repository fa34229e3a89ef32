#pragma once
#include "app/input_hooks.h"
#include "i18n/catalogue.h"
#include "macros/macro_store.h"
#include "platform/message_target.h"
#include "platform/paths.h"
#include "platform/user_messages.h"
#include "settings/profile_store.h"

namespace q30x {

// The process-wide state every page edits in place on the window's thread:
// the settings, the macro library, the language, and the hooks the recorders
// borrow. The main window owns it and hands it to each page it creates.
struct ProgramState {
    const Folders& folders;
    LanguageState& language;
    StringCatalogue& strings;
    UserMessages& messages;
    SettingsState& settings;
    ProfileStore& profiles;
    MacroLibrary& macros;
    MacroStore& macroStore;
    InputHooks& hooks;
    MessageTarget& mainWindow;  // where the pages post their hints (2053)
};

}  // namespace q30x
