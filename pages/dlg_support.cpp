#include "pages/dlg_support.h"

#include "skin/layout.h"

namespace q30x {

CDlgSupport::CDlgSupport(ProgramState& state, QWidget* parent)
    : CSkinPage(QString::fromStdString(state.folders.program), layout::pages::kSupport, parent), state_(state) {}

void CDlgSupport::setFirmwareVersionText(std::u16string text) {
    firmwareVersionText_ = std::move(text);
    update();
}

void CDlgSupport::applyLabels() { update(); }

}  // namespace q30x
