#pragma once
#include <memory>
#include <string>

#include "app/program_state.h"
#include "platform/clock.h"
#include "platform/input_events.h"
#include "tests/support/recording_target.h"
#include "tests/support/temp_folder.h"

namespace q30x::test {

// The process-wide state the pages and popups are given: the program folder
// of the build (its drawn art), a working folder of its own, recorded
// messages and a main window that only records, English by default.
struct ProgramWorld {
    explicit ProgramWorld(std::string programFolder) : folders{std::move(programFolder), folder.path()} {}

    TempFolder folder;
    Folders folders;
    LanguageState language{0, 0, 2};
    StringCatalogue strings;
    RecordedMessages messages;
    SettingsState settings;
    ProfileStore profiles{settings, SettingsContext{folders, messages, strings, language}};
    std::unique_ptr<MacroLibrary> macros = std::make_unique<MacroLibrary>();
    FakeClock clock;
    MacroStore macroStore{*macros, SettingsContext{folders, messages, strings, language}, clock};
    QuietInputSource source{true};
    InputHooks hooks{source};
    RecordingTarget mainWindow;
    ProgramState state{folders, language, strings, messages, settings, profiles, *macros, macroStore, hooks, mainWindow};
};

}  // namespace q30x::test
