#pragma once
#include <memory>
#include <string>

#include "app/input_hooks.h"
#include "app/program_state.h"
#include "platform/clock.h"
#include "platform/input_events.h"
#include "tests/support/recording_target.h"
#include "tests/support/temp_folder.h"

namespace q30x::test {

// The process-wide state a window is given, built from the real types: a
// working folder of its own, the build folder (its drawn art) as program
// folder unless told otherwise, recorded messages, a fake clock and hooks on
// a main window that records what reaches it; English by default.
struct ProgramWorld {
    explicit ProgramWorld(std::string programFolder = Q30X_TEST_LIBDIR)
        : folders{std::move(programFolder), folder.path()} {}

    TempFolder folder;
    Folders folders;
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
