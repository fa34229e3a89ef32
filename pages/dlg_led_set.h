#pragma once
#include "app/program_state.h"
#include "skin/skin_page.h"

namespace q30x {

// The lighting page: mode, brightness and speed, colours, proximity sensing.
class CDlgLEDSet : public CSkinPage {
public:
    CDlgLEDSet(ProgramState& state, QWidget* parent);
    // Shows the current profile again.
    void Refresh();
    void applyLabels();
private:
    ProgramState& state_;
};

}  // namespace q30x
