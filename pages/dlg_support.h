#pragma once
#include <functional>
#include <string>

#include "app/program_state.h"
#include "firmware/update_check.h"
#include "platform/devices.h"
#include "skin/layout.h"
#include "skin/skin_page.h"

namespace q30x {

class CGDIBitmapBtn;
class PageHints;

// The program's version as the support page shows it.
inline constexpr std::u16string_view kProgramVersion = u"V1.0.2";

// The support page: the program's and the mouse's versions, the firmware
// update check, the maker's web site, import and export of the active
// profile, and the factory defaults (restored by the main window, 2054).
class CDlgSupport : public CSkinPage {
public:
    static constexpr int kHintUpdate = 56, kHintWeb = 57, kHintImport = 58, kHintExport = 59, kHintDefault = 60;
    static constexpr int kHintProgramVersion = 89, kHintFirmwareVersion = 90;

    // Which profile file the user chose; empty for a cancelled dialog.
    enum class FileDialog { Open, Save };
    using PathChooser = std::function<QString(FileDialog)>;

    CDlgSupport(ProgramState& state, ProgramLauncher& launcher, QWidget* parent);
    // The mouse's firmware version in decimal, empty when unknown.
    void setFirmwareVersionText(std::u16string text);
    const std::u16string& firmwareVersionText() const { return firmwareVersionText_; }
    void applyLabels();

    // What the update button runs; the firmware update check plugs in here.
    void setUpdateCheck(std::function<void()> check) { updateCheck_ = std::move(check); }
    // Replaces the file dialogs (tests).
    void setPathChooser(PathChooser chooser) { chooser_ = std::move(chooser); }

    void importProfile();
    void exportProfile();
    void openWebsite();
    // Asks, then asks the main window to restore the factory defaults.
    void restoreDefaults();

    // The versions as painted.
    QString programVersion() const;
    QString firmwareVersion() const;
    CGDIBitmapBtn* updateButton() const { return update_; }
    CGDIBitmapBtn* webButton() const { return web_; }
    CGDIBitmapBtn* importButton() const { return import_; }
    CGDIBitmapBtn* exportButton() const { return export_; }
    CGDIBitmapBtn* defaultButton() const { return default_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString choosePath(FileDialog kind);

    ProgramState& state_;
    ProgramLauncher& launcher_;
    layout::SkinSet set_;
    std::u16string firmwareVersionText_;
    std::function<void()> updateCheck_;
    PathChooser chooser_;
    CGDIBitmapBtn* update_ = nullptr;
    CGDIBitmapBtn* web_ = nullptr;
    CGDIBitmapBtn* import_ = nullptr;
    CGDIBitmapBtn* export_ = nullptr;
    CGDIBitmapBtn* default_ = nullptr;
    PageHints* hints_ = nullptr;
};

}  // namespace q30x
