#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "i18n/catalogue.h"
#include "macros/macro_library.h"
#include "platform/keyboard_layout.h"
#include "platform/paths.h"
#include "platform/user_messages.h"
#include "settings/settings_state.h"

// What every fuzz target needs around the reader it drives: folders shaped
// like the program's, the input as a file for readers that take a path, and
// quiet stand-ins for the rest of the program.
namespace q30x::fuzz {

// Stops the run with the broken expectation on standard error, so libFuzzer
// keeps the input that broke it.
void expect(bool holds, const char* what);

// A program folder and a working folder private to this run, on a memory
// file system when there is one; both go when the run ends.
const Folders& folders();

// Replaces `folder`/`relative` with the input, creating its folder.
std::string writeInput(const std::string& folder, const std::string& relative, const uint8_t* data, std::size_t size);

// The project's own language files, copied into the program folder once.
void installLanguageFiles();

// Shows nothing; every question gets `answer`.
struct SilentMessages final : UserMessages {
    bool answer = false;
    void info(std::u16string_view) override {}
    void standard(std::u16string_view, std::u16string_view) override {}
    bool question(std::u16string_view) override { return answer; }
};

// Prints the key code's low byte, so key names never need a display.
struct CodeLayout final : KeyboardLayout {
    char32_t unshiftedCharacter(uint16_t evdevCode) const override { return evdevCode & 0xFF; }
};

// Seven macros, ids kFirstSampleMacroId on, for files that name macros.
inline constexpr uint32_t kFirstSampleMacroId = 0x01000001;
const MacroLibrary& sampleMacros();

// The apply that OK starts, with the current profile of `state`, against a
// virtual mouse: whatever the files held, every frame the program sends must
// be one the mouse takes, and the apply must complete.
void expectCleanApply(const SettingsState& state, const MacroLibrary& macros, const LanguageState& language);

}  // namespace q30x::fuzz
