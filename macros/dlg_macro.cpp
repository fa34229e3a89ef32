#include "macros/dlg_macro.h"

#include "skin/layout.h"

namespace q30x {

CDlgMacro::CDlgMacro(ProgramState& state, QWidget* parent)
    : CSkinPage(QString::fromStdString(state.folders.program), layout::pages::kMacro, parent), state_(state) {}

void CDlgMacro::fillLists() { update(); }

void CDlgMacro::commitLoopField() {}

void CDlgMacro::applyLabels() { update(); }

}  // namespace q30x
