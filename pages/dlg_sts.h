#pragma once
#include "app/program_state.h"
#include "skin/skin_page.h"

namespace q30x {

// The statistics page: clicks, wheel turns, pointer travel and trophies.
class CDlgSts : public CSkinPage {
public:
    CDlgSts(ProgramState& state, QWidget* parent);
    // The end of the desktop session saves the counters.
    void saveCounters() {}
    void applyLabels();
private:
    ProgramState& state_;
};

}  // namespace q30x
