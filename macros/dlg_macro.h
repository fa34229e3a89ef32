#pragma once
#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "app/program_state.h"
#include "macros/macro_recorder.h"
#include "platform/clock.h"
#include "platform/keyboard_layout.h"
#include "skin/layout.h"
#include "skin/menu_library.h"
#include "skin/skin_page.h"

class QLineEdit;

namespace q30x {

class CBitmapEdit;
class CGDIBitmapBtn;
class CListBoxEx;

// The macro editor page: the macros of one game group on the left, the rows
// of the selected macro on the right, recorded live or edited row by row.
// Every change reaches the library and "Macro.cfg" at once.
class CDlgMacro : public CSkinPage {
public:
    static constexpr uint32_t kLoopTimer = 153;
    static constexpr int kLoopTimerMs = 4000;
    enum EditMode { kIdle = 0, kInsertKey = 1, kInsertDelay = 2, kModifyKey = 3, kModifyDelay = 4 };
    enum Picture { kLeftPicture, kMiddlePicture, kRightPicture };

    // `clock` gives new macros their ids and recorded delays their length.
    CDlgMacro(ProgramState& state, Clock& clock, QWidget* parent);
    ~CDlgMacro() override;

    // Start-up, once the library is loaded: group 21, its last macro selected.
    void fillLists();
    bool recording() const { return recorder_.recording(); }
    // The Record button: refused while a row is edited; starts or stops.
    void toggleRecording();
    // Leaving the page stores what was recorded.
    void stopRecording();
    // The game menu closes when the page is left or the window hides.
    void closeGameMenu();
    // OK: the loop field's pending text is normalised and stored.
    void commitLoopField();
    // A language change: tooltips and painted labels follow the catalogue.
    void applyLabels();
    // The game button: the menu of the 21 groups under it.
    void openGameMenu();

    int gameGroup() const { return group_; }
    int editMode() const { return mode_; }
    bool noDelay() const;
    CGDIBitmapBtn* gameButton() const { return game_; }
    CListBoxEx* macroList() const { return macros_; }
    CListBoxEx* eventList() const { return events_; }
    CGDIBitmapBtn* newMacroButton() const { return newMacro_; }
    CGDIBitmapBtn* deleteMacroButton() const { return deleteMacro_; }
    CGDIBitmapBtn* insertButton() const { return insert_; }
    CGDIBitmapBtn* deleteRowButton() const { return deleteRow_; }
    CGDIBitmapBtn* modifyButton() const { return modify_; }
    CGDIBitmapBtn* recordButton() const { return record_; }
    CGDIBitmapBtn* noDelaySwitch() const { return noDelay_; }
    CGDIBitmapBtn* picture(Picture p) const { return pictures_[p]; }
    CGDIBitmapBtn* keyOption() const { return keyOption_; }
    CGDIBitmapBtn* keyConfirm() const { return keyConfirm_; }
    CGDIBitmapBtn* delayOption() const { return delayOption_; }
    CGDIBitmapBtn* delayConfirm() const { return delayConfirm_; }
    QLineEdit* loopField() const;
    QLineEdit* keyField() const;
    QLineEdit* delayField() const;
    layout::SkinSet skinSet() const { return set_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void createControls();
    intptr_t onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    QString entry(std::string_view key) const;
    layout::Rect at(const layout::SetRect& r) const { return r.in(set_); }

    // Game groups and the macro list (dlg_macro.cpp).
    void onGameChosen(intptr_t lParam);
    void refill(int group);
    void onNewMacro();
    void onDeleteMacro();
    void onRenamed(int index);
    void onSelectionChanged(int list, int index);
    void loadRows();
    void showHint(const QPoint& pagePoint);

    // Rows, recording and the loop field (dlg_macro_rows.cpp).
    void onInsert();
    // The key or the delay editor: its option ticked, its field and confirm
    // shown; the other option too while a row is inserted.
    void showEditor(bool key, bool bothOptions);
    void onKeyOption();
    void onDelayOption();
    void onModify();
    // Completes the edit of a key row (key) or a delay row, and stores it.
    void confirm(bool key);
    void onKeyConfirm() { confirm(true); }
    void onDelayConfirm() { confirm(false); }
    void onDeleteRow();
    // The edits of a row at the event list's selection (none: no change).
    void insertKey(int row);
    void replaceKey(int row);
    void insertDelay(int row);
    void replaceDelay(int row);
    void endEdit();
    void onCaptured(uint32_t virtualKey, uint32_t flags);
    void onPicture(uintptr_t what, intptr_t button);
    void startRecording();
    void endRecording();
    void setRecordControls(bool recordingNow);
    void startCapture();
    void stopCapture();
    void hideEditControls();
    void normaliseLoopField();
    void writeLoopField(const QString& text);
    void onLoopChanged();
    void saveMacro();
    std::vector<MacroRow> rows() const;
    void showRows(const std::vector<MacroRow>& rows);
    void appendRow(const MacroRow& row);

    ProgramState& state_;
    Clock& clock_;
    layout::SkinSet set_;
    std::unique_ptr<KeyboardLayout> keyLayout_;
    MenuLibrary menuLibrary_;
    MacroRecorder recorder_;

    CGDIBitmapBtn* game_ = nullptr;
    CListBoxEx* macros_ = nullptr;
    CListBoxEx* events_ = nullptr;
    CGDIBitmapBtn* newMacro_ = nullptr;
    CGDIBitmapBtn* deleteMacro_ = nullptr;
    CGDIBitmapBtn* insert_ = nullptr;
    CGDIBitmapBtn* deleteRow_ = nullptr;
    CGDIBitmapBtn* modify_ = nullptr;
    CGDIBitmapBtn* record_ = nullptr;
    CGDIBitmapBtn* noDelay_ = nullptr;
    CBitmapEdit* loop_ = nullptr;
    std::array<CGDIBitmapBtn*, 3> pictures_{};
    CGDIBitmapBtn* keyOption_ = nullptr;
    CBitmapEdit* keyField_ = nullptr;
    CGDIBitmapBtn* keyConfirm_ = nullptr;
    CGDIBitmapBtn* delayOption_ = nullptr;
    CBitmapEdit* delayField_ = nullptr;
    CGDIBitmapBtn* delayConfirm_ = nullptr;

    int group_ = 0;
    int macroSel_ = -1;
    int rowSel_ = -1;
    int mode_ = kIdle;
    uint32_t capturedKey_ = 0;
    bool capturing_ = false;
    bool normalising_ = false;
    bool changingSelection_ = false;
    QPoint lastHintPoint_{-1, -1};
};

}  // namespace q30x
