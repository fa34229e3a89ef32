#pragma once
#include "app/program_state.h"
#include "skin/skin_page.h"

namespace q30x {

// The main settings page: DPI levels, pointer, lift-off height, report rate, wheel and the seven button tabs.
class CDlgMainSet : public CSkinPage {
public:
    CDlgMainSet(ProgramState& state, QWidget* parent);
    // Shows the current profile again.
    void Refresh();
    // OK commits the wheel field before an apply.
    void commitWheelField();
    void applyLabels();
private:
    ProgramState& state_;
};

}  // namespace q30x
