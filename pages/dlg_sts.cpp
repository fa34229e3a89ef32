#include "pages/dlg_sts.h"

#include "skin/layout.h"

namespace q30x {

CDlgSts::CDlgSts(ProgramState& state, QWidget* parent)
    : CSkinPage(QString::fromStdString(state.folders.program), layout::pages::kSts, parent), state_(state) {}

void CDlgSts::applyLabels() { update(); }

}  // namespace q30x
