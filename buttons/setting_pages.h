#pragma once
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/program_state.h"
#include "platform/keyboard_layout.h"
#include "skin/skin_page.h"

namespace q30x {

class CGDIBitmapBtn;
class CListBoxEx;

// The four tab pages of the assignment popup. Each is a page of the popup's
// page area with its own three skin images; what the user chose on it is
// read by the popup when OK is clicked.

// Key combination: four modifier boxes and the key captured from the
// keyboard hook's 1034 messages.
class CSetting_SingleComboDlg : public CSkinPage {
public:
    // Box order top to bottom.
    enum Modifier { kCtrl, kAlt, kShift, kWin };

    CSetting_SingleComboDlg(ProgramState& state, const KeyboardLayout& layout, QWidget* parent);

    // One key event as the hook reports it: a modifier key's press inverts
    // its box, any other key's press becomes the captured key.
    void onHookKey(uintptr_t virtualKey, intptr_t flags);
    // The ComboCode of the boxes and the captured key; 0 when it names nothing.
    int32_t code() const;

    CGDIBitmapBtn* modifierBox(Modifier m) const { return boxes_[m]; }
    uint32_t capturedKey() const { return key_; }
    QString keyText() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void invert(Modifier m);

    ProgramState& state_;
    const KeyboardLayout& layout_;
    std::array<CGDIBitmapBtn*, 4> boxes_{};
    uint32_t key_ = 0;
};

// Macro: the 21 game groups and the macros of the chosen one.
class CSetting_MacroDlg : public CSkinPage {
public:
    CSetting_MacroDlg(ProgramState& state, QWidget* parent);

    // The id of the selected macro row.
    std::optional<uint32_t> chosenMacro() const;
    CListBoxEx* gameList() const { return games_; }
    CListBoxEx* macroList() const { return macros_; }

private:
    intptr_t onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void fillMacros(int game);

    ProgramState& state_;
    CListBoxEx* games_;
    CListBoxEx* macros_;
    int game_ = -1;
};

// Basic: the 24 functions the mouse and the host perform without data.
class CSetting_BaseDlg : public CSkinPage {
public:
    CSetting_BaseDlg(ProgramState& state, QWidget* parent);

    // The FunctionType of the selected row.
    std::optional<int32_t> chosenType() const;
    CListBoxEx* list() const { return list_; }

private:
    CListBoxEx* list_;
};

// Advanced: play a sound, start a program, open a file or a folder.
class CSetting_AdvanceDlg : public CSkinPage {
public:
    static constexpr int kRows = 4;
    // Asks the user for a row's path; the empty text when cancelled.
    using PathChooser = std::function<QString(int row)>;

    CSetting_AdvanceDlg(ProgramState& state, int inputIndex, QWidget* parent);

    // Tests choose without a file dialog.
    void setPathChooser(PathChooser chooser) { chooser_ = std::move(chooser); }
    // Checks the row's radio, then asks for its path.
    void browse(int row);
    void checkRadio(int row);

    struct Choice {
        int row;
        int32_t code;  // the advanced action code the row's radio carries
        QString path;
    };
    // The first checked row with a path.
    std::optional<Choice> choice() const;

    CGDIBitmapBtn* radio(int row) const { return radios_[static_cast<std::size_t>(row)]; }
    CGDIBitmapBtn* pathField(int row) const { return paths_[static_cast<std::size_t>(row)]; }
    CGDIBitmapBtn* browseButton(int row) const { return browse_[static_cast<std::size_t>(row)]; }

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QString choosePath(int row);

    ProgramState& state_;
    std::array<CGDIBitmapBtn*, kRows> radios_{};
    std::array<CGDIBitmapBtn*, kRows> paths_{};
    std::array<CGDIBitmapBtn*, kRows> browse_{};
    PathChooser chooser_;
};

}  // namespace q30x
