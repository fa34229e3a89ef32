#pragma once
#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "app/program_state.h"
#include "pages/main_set_model.h"
#include "skin/irr_button.h"
#include "skin/layout.h"
#include "skin/skin_page.h"

namespace q30x {

class CBitmapEdit;
class CGDIBitmapBtn;
class CPngHSliderBar;

// A button tab of the main settings page: the slanted tab showing the
// input's label, centred and cut with an ellipsis to the tab's width, since
// labels run from "Click" to whole paths.
class CKeyTab : public CIrrButton {
public:
    CKeyTab(const QRegion& region, QWidget* parent) : CIrrButton(QString(), region, parent) {}
    void setLabel(const QString& label);
    const QString& label() const { return label_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QString label_;
};

// The main settings page: DPI levels, pointer, lift-off height, report rate,
// wheel and the seven button tabs. Every control writes the current profile
// at once; nothing reaches the mouse or the desktop before OK.
class CDlgMainSet : public CSkinPage {
public:
    static constexpr uint32_t kMarkerTimer = 17;
    static constexpr int kMarkerPeriodMs = 200;
    static constexpr uint32_t kWheelTimer = 152;
    static constexpr int kWheelPeriodMs = 4000;
    // A tab lights its marker only this far inside its left and right edges,
    // so a pointer over the overlap of two slanted tabs lights neither.
    static constexpr int kMarkerInset = 17;

    enum Hint : int {
        kHintDpi = 12, kHintSpeed = 13, kHintPrecision = 14, kHintHeight = 15, kHintRate = 16,
        kHintWheelLines = 17, kHintWheelScreen = 18, kHintKeys = 65,
    };
    static constexpr std::array<int, 6> kTitleHints = {61, 13, 62, 63, 64, 65};

    CDlgMainSet(ProgramState& state, QWidget* parent);

    // Shows the current profile again; writes nothing.
    void Refresh();
    // Takes what the user typed into the wheel field into the profile. OK
    // calls it before an apply; so does the 4-second check.
    void commitWheelField();
    // The language changed: texts and tooltips again.
    void applyLabels();
    // What a tab click opens (the assignment popup for that input); the tabs
    // are shown again when it returns.
    void setOpenAssignment(std::function<void(int inputIndex)> open) { openAssignment_ = std::move(open); }

    layout::SkinSet skinSet() const { return set_; }
    CGDIBitmapBtn* dpiButton(int i) const { return dpi_.at(static_cast<std::size_t>(i)); }
    CGDIBitmapBtn* precisionBox() const { return precision_; }
    CGDIBitmapBtn* rateRadio(int i) const { return rates_.at(static_cast<std::size_t>(i)); }
    CGDIBitmapBtn* wheelLinesRadio() const { return wheelLines_; }
    CGDIBitmapBtn* wheelScreenRadio() const { return wheelScreen_; }
    CBitmapEdit* wheelEdit() const { return wheelEdit_; }
    CGDIBitmapBtn* spinUp() const { return spinUp_; }
    CGDIBitmapBtn* spinDown() const { return spinDown_; }
    CGDIBitmapBtn* marker(int i) const { return markers_.at(static_cast<std::size_t>(i)); }
    CGDIBitmapBtn* title(int i) const { return titles_.at(static_cast<std::size_t>(i)); }
    CKeyTab* tab(int i) const { return tabs_.at(static_cast<std::size_t>(i)); }
    CPngHSliderBar* speedSlider() const { return speedSlider_; }
    CPngHSliderBar* heightSlider() const { return heightSlider_; }
    int wheelValue() const { return wheelValue_; }
    // The page's art with its texts, as the page and its controls show it.
    const QImage& labelledNormal() const { return labelled_[0]; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    intptr_t onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void createControls();
    CGDIBitmapBtn* makeButton(const layout::Rect& r, std::function<void()> onClick);
    void cutControlImages();
    void drawTexts(QPainter& p) const;
    void onDpi(std::size_t index);
    void onRate(std::size_t index);
    void onWheelLines();
    void onWheelScreen();
    void onSpin(int step);
    void onTab(int index);
    void showWheelChoice(bool lines);
    void showWheelValue();
    void showTabs();
    void lightMarkers();
    void trackHints(const QPoint& pagePoint);

    ProgramState& state_;
    ProfileRecord& profile_;
    layout::SkinSet set_;
    std::array<QImage, 3> labelled_;  // normal, pressed, hover with the texts
    std::array<CGDIBitmapBtn*, kOfferedDpiValues.size()> dpi_{};
    mainset::DpiChecks dpiChecks_{};
    CPngHSliderBar* speedSlider_ = nullptr;
    CGDIBitmapBtn* precision_ = nullptr;
    CPngHSliderBar* heightSlider_ = nullptr;
    std::array<CGDIBitmapBtn*, 4> rates_{};
    CGDIBitmapBtn* wheelLines_ = nullptr;
    CBitmapEdit* wheelEdit_ = nullptr;
    CGDIBitmapBtn* spinUp_ = nullptr;
    CGDIBitmapBtn* spinDown_ = nullptr;
    CGDIBitmapBtn* wheelScreen_ = nullptr;
    std::array<CGDIBitmapBtn*, kButtonCount> markers_{};
    std::array<CGDIBitmapBtn*, 6> titles_{};
    std::array<CKeyTab*, kButtonCount> tabs_{};
    // The skinned buttons with the rectangles they were cut at.
    std::vector<std::pair<CGDIBitmapBtn*, QRect>> skinned_;
    // The hover-hint order: every control with its hint number.
    std::vector<std::pair<QWidget*, int>> hints_;
    int wheelValue_ = mainset::kMinWheelLines;
    std::function<void(int)> openAssignment_;
};

}  // namespace q30x
