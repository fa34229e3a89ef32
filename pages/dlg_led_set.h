#pragma once
#include <QRect>
#include <array>
#include <utility>
#include <vector>

#include "app/program_state.h"
#include "pages/led_model.h"
#include "skin/layout.h"
#include "skin/skin_page.h"

namespace q30x {

class CBitmapEdit;
class CColorBtn;
class CGDIBitmapBtn;
class CPngHSliderBar;

// The lighting page: mode, brightness and speeds, the four colours (presets,
// colour wheel, red/green/blue sliders) and proximity sensing. It edits the
// lighting fields of the current profile in place; nothing is sent until OK.
class CDlgLEDSet : public CSkinPage {
public:
    static constexpr int kRedId = 769, kGreenId = 770, kBlueId = 771;
    static constexpr int kRedBoxId = 772;  // 773 green, 774 blue
    static constexpr int kBrightnessId = 777, kBreathingId = 778, kCycleSpeedId = 779;

    // Hint numbers of the controls (the custom-cycle box has two).
    static constexpr std::array<int, 6> kModeHints = {31, 29, 27, 26, 33, 28};  // by mode 1..6
    static constexpr int kHintBreathing = 76, kHintBrightness = 32, kHintCycleSpeed = 36;
    static constexpr int kHintCustomClear = 34, kHintCustomSet = 35;
    static constexpr std::array<int, 3> kCycleSwatchHints = {77, 78, 79};
    static constexpr int kHintProximityOn = 37, kHintProximityOff = 38, kHintSingleSwatch = 83, kHintColourSliders = 39;
    static constexpr std::array<int, 6> kTitleHints = {75, 80, 81, 82, 84, 85};  // by layout::ledset::Title

    // The coordinate set follows state.language.chineseUi now and never again.
    CDlgLEDSet(ProgramState& state, QWidget* parent);

    // Shows the lighting fields of the current profile again.
    void Refresh();
    // Sets the labels of the mode, proximity and swatch controls again after
    // a language change, and redraws the texts the page draws itself.
    void applyLabels();

    layout::SkinSet skinSet() const { return set_; }
    int currentSlot() const { return slot_; }
    bool pickerLive() const { return picker_; }

    // The controls, for the main window's tests and screenshots.
    CGDIBitmapBtn* modeButton(int mode) const { return modes_.at(static_cast<std::size_t>(mode - 1)); }
    CGDIBitmapBtn* customCycleBox() const { return customCycle_; }
    CColorBtn* swatch(int slot) const { return swatches_.at(static_cast<std::size_t>(slot)); }
    CGDIBitmapBtn* proximityButton(bool on) const { return on ? proximityOn_ : proximityOff_; }
    CGDIBitmapBtn* presetButton(int i) const { return presets_.at(static_cast<std::size_t>(i)); }
    CGDIBitmapBtn* titleArea(layout::ledset::Title t) const { return titles_.at(t); }
    CPngHSliderBar* slider(int id) const;
    CBitmapEdit* valueBox(int channel) const { return valueBoxes_.at(static_cast<std::size_t>(channel)); }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void createControls();
    CGDIBitmapBtn* makeButton(const layout::Rect& r, const QString& caption, bool checkable);
    CPngHSliderBar* makeSlider(const layout::Rect& r, int id, int minimum, int maximum, int thumbStop);
    void onCommand(const QObject* control);
    intptr_t onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void onSlider(int id, int position);
    void SetPicker(bool on);
    void showColour(uint32_t colour);
    void showNumbers();
    void uncheckPresets();
    void postHints(const QPoint& pagePoint);
    bool onWheel(const QPoint& p) const;
    void updateCursor(const QPoint& p);
    QRect rectOf(const layout::SetRect& r) const;

    ProgramState& state_;
    layout::SkinSet set_;
    int slot_ = 0;
    bool picker_ = true;
    std::array<int, 3> numbers_{};  // red, green, blue as the value boxes show them

    std::array<CGDIBitmapBtn*, led::kModeCount> modes_{};
    CPngHSliderBar* breathing_ = nullptr;
    CPngHSliderBar* brightness_ = nullptr;
    CGDIBitmapBtn* customCycle_ = nullptr;
    std::array<CColorBtn*, 4> swatches_{};  // by slot
    CPngHSliderBar* cycleSpeed_ = nullptr;
    CGDIBitmapBtn* proximityOn_ = nullptr;
    CGDIBitmapBtn* proximityOff_ = nullptr;
    std::array<CGDIBitmapBtn*, layout::ledset::kPresetCount> presets_{};
    std::array<CPngHSliderBar*, 3> colourSliders_{};
    std::array<CBitmapEdit*, 3> valueBoxes_{};
    std::array<CGDIBitmapBtn*, 6> titles_{};
    std::vector<std::pair<const QWidget*, int>> hinted_;  // controls with one hint, in creation order
};

}  // namespace q30x
