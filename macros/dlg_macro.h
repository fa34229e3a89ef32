#pragma once
#include "app/program_state.h"
#include "skin/skin_page.h"

namespace q30x {

// The macro editor page: game groups, macros, recording and editing rows.
class CDlgMacro : public CSkinPage {
public:
    CDlgMacro(ProgramState& state, QWidget* parent);
    // Start-up: fills the game list and selects the last macro of group 21.
    void fillLists();
    // Leaving the page ends a recording; OK commits the loop field.
    bool recording() const { return false; }
    void stopRecording() {}
    // The game menu closes when the page is left or the window hides.
    void closeGameMenu() {}
    void commitLoopField();
    void applyLabels();
private:
    ProgramState& state_;
};

}  // namespace q30x
