#include "pages/dlg_led_set.h"

#include "skin/layout.h"

namespace q30x {

CDlgLEDSet::CDlgLEDSet(ProgramState& state, QWidget* parent)
    : CSkinPage(QString::fromStdString(state.folders.program), layout::pages::kLedSet, parent), state_(state) {}

void CDlgLEDSet::Refresh() { update(); }

void CDlgLEDSet::applyLabels() { update(); }

}  // namespace q30x
