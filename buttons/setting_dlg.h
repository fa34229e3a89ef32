#pragma once
#include <QDialog>
#include <QImage>
#include <array>
#include <memory>

#include "app/program_state.h"
#include "buttons/assignment.h"
#include "platform/keyboard_layout.h"
#include "skin/window_drag.h"

namespace q30x {

class CGDIBitmapBtn;
class CSetting_AdvanceDlg;
class CSetting_BaseDlg;
class CSetting_MacroDlg;
class CSetting_SingleComboDlg;
class MessagePort;

// The modal popup in which the function of one input is chosen: a key
// combination, a macro, a basic function or a host action on four tab pages,
// the disable box, or the input's default. While the key-combination page
// shows, the keyboard hook posts every key to the popup's port (1034);
// otherwise, and once the popup has ended, the hook's target is the main
// window again.
class CSettingDlg : public QDialog {
public:
    static constexpr int kPages = 4;

    // `inputIndex` 0..6 is the input whose function is edited; its current
    // label is shown.
    CSettingDlg(ProgramState& state, int inputIndex, QWidget* parent);
    ~CSettingDlg() override;

    // Runs the popup; after OK with a choice it stores it (commit) and
    // returns Accepted, otherwise Rejected and nothing changes.
    int exec() override;
    // Stores the choice into the current profile through the assignment
    // rules; a refusal is shown in the message box and changes nothing.
    AssignOutcome commit();
    // What OK, Default or the close button chose; code 0 is nothing.
    const AssignResult& assignResult() const { return result_; }

    // Tab p (1..4), as a click on it does.
    void showPage(int p);
    int currentPage() const { return page_; }
    bool capturingKeys() const { return capturing_; }

    MessagePort* port() const { return port_; }
    CGDIBitmapBtn* tab(int p) const { return tabs_[static_cast<std::size_t>(p - 1)]; }
    CGDIBitmapBtn* disableBox() const { return disable_; }
    CGDIBitmapBtn* defaultButton() const { return default_; }
    CGDIBitmapBtn* okButton() const { return ok_; }
    CGDIBitmapBtn* closeButton() const { return close_; }
    CSetting_SingleComboDlg* comboPage() const { return combo_; }
    CSetting_MacroDlg* macroPage() const { return macro_; }
    CSetting_BaseDlg* basePage() const { return base_; }
    CSetting_AdvanceDlg* advancedPage() const { return advanced_; }
    QWidget* page(int p) const;
    // "str_cur_function" and the label, as painted.
    QString currentText() const;

    // The close button's Cancel; also what closing the window does.
    void reject() override;

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent*) override { drag_.release(); }

private:
    intptr_t onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void createControls();
    void onDisable();
    void onOk();
    void onDefault();
    void end(bool chosen);
    void setKeyCapture(bool on);
    QString entry(std::string_view key) const;

    ProgramState& state_;
    int inputIndex_;
    AssignResult result_{};
    std::unique_ptr<KeyboardLayout> layout_;
    MessagePort* port_;
    QImage normal_, pressed_, hover_;
    CGDIBitmapBtn* close_ = nullptr;
    std::array<CGDIBitmapBtn*, kPages> tabs_{};
    CGDIBitmapBtn* disable_ = nullptr;
    CGDIBitmapBtn* default_ = nullptr;
    CGDIBitmapBtn* ok_ = nullptr;
    CSetting_SingleComboDlg* combo_ = nullptr;
    CSetting_MacroDlg* macro_ = nullptr;
    CSetting_BaseDlg* base_ = nullptr;
    CSetting_AdvanceDlg* advanced_ = nullptr;
    int page_ = 0;
    bool capturing_ = false;
    WindowDrag drag_;  // a press on the popup's own surface moves it
};

}  // namespace q30x
