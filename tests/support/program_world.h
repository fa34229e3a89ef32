#pragma once
#include <memory>

#include "app/input_hooks.h"
#include "app/program_state.h"
#include "platform/clock.h"
#include "platform/input_events.h"
#include "support/recording_target.h"
#include "support/temp_folder.h"

namespace q30x::test {

// The process-wide state a window is given, built from the real types: a
// temporary working folder, the build folder as program folder, recorded
// messages, a fake clock and hooks on a main window that records what
// reaches it.
struct ProgramWorld {
    TempFolder folder;
    Folders folders{Q30X_TEST_LIBDIR, folder.path()};
    LanguageState language{0, 0, 2};
    StringCatalogue strings;
    RecordedMessages messages;
    SettingsState settings;
    ProfileStore profiles{settings, SettingsContext{folders, messages, strings, language}};
    std::unique_ptr<MacroLibrary> macros = std::make_unique<MacroLibrary>();  // 2 MB
    FakeClock clock{5000};
    MacroStore macroStore{*macros, SettingsContext{folders, messages, strings, language}, clock};
    QuietInputSource source{true};
    InputHooks hooks{source};
    RecordingTarget mainWindow;
    ProgramState state{folders, language, strings, messages, settings, profiles, *macros, macroStore, hooks, mainWindow};
};

}  // namespace q30x::test
