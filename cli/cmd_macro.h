#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "macros/macro_library.h"

namespace q30x::cli {

// "0x15012345": how the macro commands print an id and take it back.
std::string macroIdText(uint32_t id);
// An id in hex, with or without "0x"; nothing for anything else.
std::optional<uint32_t> parseMacroId(const std::string& word);
// A game group by number (1..21) or by a caption or menu text in either
// wording, case aside; 0 for none.
int parseGroup(const std::string& word);
// "21 Customisze", or "0 (no group)".
std::string groupText(int group, int chineseUi);
// The name as UTF-8, and quoted with control characters, quotes and
// backslashes escaped, so a damaged file cannot drive the terminal.
std::string macroName(const MacroRecord& record);
std::string quotedName(const MacroRecord& record);

// The changes of macro (cmd_macro_edit.cpp).
int newMacro(Invocation& call);
int renameMacro(Invocation& call);
int deleteMacro(Invocation& call);
int setMacro(Invocation& call);

}  // namespace q30x::cli
