#include "pages/dlg_main_set.h"

#include "skin/layout.h"

namespace q30x {

CDlgMainSet::CDlgMainSet(ProgramState& state, QWidget* parent)
    : CSkinPage(QString::fromStdString(state.folders.program), layout::pages::kMainSet, parent), state_(state) {}

void CDlgMainSet::Refresh() { update(); }

void CDlgMainSet::commitWheelField() {}

void CDlgMainSet::applyLabels() { update(); }

}  // namespace q30x
