#pragma once
#include "app/program_state.h"
#include "skin/skin_page.h"

namespace q30x {

// The support page: versions, the maker's web site, import, export, restore, firmware update.
class CDlgSupport : public CSkinPage {
public:
    CDlgSupport(ProgramState& state, QWidget* parent);
    // The mouse's firmware version in decimal, empty when unknown.
    void setFirmwareVersionText(std::u16string text);
    const std::u16string& firmwareVersionText() const { return firmwareVersionText_; }
    void applyLabels();
private:
    ProgramState& state_;
    std::u16string firmwareVersionText_;
};

}  // namespace q30x
