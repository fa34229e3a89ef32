#include "pages/dlg_led_set.h"

#include <QMouseEvent>
#include <QGraphicsOpacityEffect>
#include <QIntValidator>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <string_view>

#include "platform/messages.h"
#include "skin/bitmap_button.h"
#include "skin/bitmap_edit.h"
#include "skin/color_btn.h"
#include "skin/images.h"
#include "skin/message_port.h"
#include "skin/qt_text.h"
#include "skin/slider.h"

namespace q30x {

namespace L = layout::ledset;

namespace {

constexpr std::array<std::string_view, led::kModeCount> kModeKeys = {
    "str_led_brealways", "str_led_norbre", "str_led_apmbre", "str_ledspe", "str_led_symphony", "str_led_off",
};
constexpr std::array<std::string_view, 4> kSwatchKeys = {"str_multicolor1", "str_multicolor2", "str_multicolor3",
                                                         "str_choose_color"};
// The keys behind the texts the page draws beside its sliders and under two
// headings, by layout::ledset::Label.
constexpr std::array<std::string_view, 5> kLabelKeys = {"str_breath_speed", "str_led_brightness",
                                                        "str_led_symphonySpeed", "str_preset_color",
                                                        "str_custom_color"};

const QColor kHeadingColour{0xE4, 0xE8, 0xEE};
const QColor kLabelColour{0xBD, 0xBD, 0xC8};
const QColor kNoteColour{0x7D, 0x86, 0x92};


// A section heading is the text before the colon of its hover hint
// ("Backlight: choose a lighting effect"), so the hint line carries the rest.
QString headingOf(const std::u16string& hint) {
    const QString text = qtext(hint);
    const qsizetype colon = text.indexOf(QRegularExpression(QStringLiteral("[:\uFF1A]")));
    return (colon < 0 ? text : text.left(colon)).trimmed();
}

// Draws one line in `box`, in the largest of a few sizes that fits, and cut
// with an ellipsis only when even the smallest does not: long translations
// stay whole in the fixed boxes of the art.
void drawFitted(QPainter& p, const QRect& box, int flags, const QString& text, int cellHeight, int weight) {
    constexpr int kSmallestCell = 12;
    QFont font = skinFont(QStringLiteral("MS Shell Dlg"), cellHeight, weight);
    for (int cell = cellHeight - 1; cell >= kSmallestCell && QFontMetrics(font).horizontalAdvance(text) > box.width(); --cell)
        font = skinFont(QStringLiteral("MS Shell Dlg"), cell, weight);
    p.setFont(font);
    p.drawText(box, flags | Qt::AlignVCenter | Qt::TextSingleLine,
               QFontMetrics(font).elidedText(text, Qt::ElideRight, box.width()));
}

// A title area: hover only, its heading drawn from the catalogue over the art.
class TitleArea final : public CGDIBitmapBtn {
public:
    TitleArea(const QRect& r, QWidget* parent) : CGDIBitmapBtn(QString(), r, parent) {
        // Check mode with nothing ever checked: a press changes no look.
        setModes(true, false);
    }
    void setHeading(const QString& text) {
        heading_ = text;
        update();
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        CGDIBitmapBtn::paintEvent(e);
        if (heading_.isEmpty()) return;
        QPainter p(this);
        p.setPen(look() == BitmapLook::Hover ? kCaptionHover : kHeadingColour);
        drawFitted(p, rect().adjusted(12, 0, -2, 0), Qt::AlignLeft, heading_, 15, 700);
    }

private:
    QString heading_;
};

// A slider that is not live shows its thumb faded, so the user sees which
// setting belongs to the chosen mode.
void enableSlider(CPngHSliderBar* bar, bool on) {
    bar->setEnabledFlag(on);
    auto* fade = qobject_cast<QGraphicsOpacityEffect*>(bar->thumb()->graphicsEffect());
    if (!fade) {
        fade = new QGraphicsOpacityEffect(bar->thumb());
        bar->thumb()->setGraphicsEffect(fade);
    }
    fade->setOpacity(on ? 1.0 : 0.35);
}

}  // namespace

CDlgLEDSet::CDlgLEDSet(ProgramState& state, QWidget* parent)
    : CSkinPage(QString::fromStdString(state.folders.program), layout::pages::kLedSet, parent),
      state_(state),
      set_(state.language.chineseUi ? layout::SkinSet::Chinese : layout::SkinSet::Standard) {
    port()->setHandler([this](uint32_t m, uintptr_t w, intptr_t l) { return onMessage(m, w, l); });
    createControls();
    applyLabels();
}

QRect CDlgLEDSet::rectOf(const layout::SetRect& r) const { return toQRect(r.in(set_)); }

CGDIBitmapBtn* CDlgLEDSet::makeButton(const layout::Rect& r, const QString& caption, bool checkable) {
    auto* b = new CGDIBitmapBtn(caption, toQRect(r), this);
    b->cutImages(toQRect(r), normalImage(), hoverImage(), pressedImage(), normalImage());
    b->setModes(checkable, false);
    QObject::connect(b, &QAbstractButton::clicked, this, [this, b] { onCommand(b); });
    return b;
}

CPngHSliderBar* CDlgLEDSet::makeSlider(const layout::Rect& r, int id, int minimum, int maximum, int thumbStop) {
    const QImage thumb = loadSkinImage(QString::fromStdString(state_.folders.program), QStringLiteral("skins/Slider.png"));
    const QRect track = toQRect(r);
    // The grooves are thinner than the thumb; the bar is as tall as the
    // thumb and centred on its groove, so the thumb is never cut off.
    const int height = std::max(track.height(), thumb.isNull() ? layout::slider::kThumb.height : thumb.height());
    const QRect bar(track.left(), track.top() + (track.height() - height) / 2, track.width(), height);
    auto* s = new CPngHSliderBar(thumb, bar, this, id);
    s->setTrackImage(bar.x(), bar.y(), bar.width(), bar.height(), normalImage());
    s->setTrackRect(track);
    s->thumb()->setLimits(0, bar.width() - thumbStop);
    s->setRange(minimum, maximum);
    hinted_.emplace_back(s, 0);
    return s;
}

void CDlgLEDSet::createControls() {
    const auto mode = [&](int m) {
        CGDIBitmapBtn* b = makeButton(L::kModes[static_cast<std::size_t>(m - 1)].in(set_), QString(), true);
        modes_[static_cast<std::size_t>(m - 1)] = b;
        hinted_.emplace_back(b, kModeHints[static_cast<std::size_t>(m - 1)]);
    };
    const auto hint = [&](int h) { hinted_.back().second = h; };
    // The system's order of creation, which is also the order of the hints.
    mode(4);
    mode(3);
    mode(6);
    mode(2);
    breathing_ = makeSlider(L::kBreathingSlider.in(set_), kBreathingId, led::kMinBreathing, led::kMaxBreathing, 0);
    hint(kHintBreathing);
    mode(1);
    brightness_ = makeSlider(L::kBrightnessSlider.in(set_), kBrightnessId, led::kMinBrightness, led::kMaxBrightness, 0);
    hint(kHintBrightness);
    mode(5);
    customCycle_ = makeButton(L::kCustomCycle.in(set_), QString(), true);
    hinted_.emplace_back(customCycle_, kHintCustomClear);
    for (int i = 0; i < 3; ++i) {
        auto* s = new CColorBtn(QString(), rectOf(L::kCycleSwatches[static_cast<std::size_t>(i)]), this);
        QObject::connect(s, &QAbstractButton::clicked, this, [this, s] { onCommand(s); });
        swatches_[static_cast<std::size_t>(i)] = s;
        hinted_.emplace_back(s, kCycleSwatchHints[static_cast<std::size_t>(i)]);
    }
    cycleSpeed_ = makeSlider(L::kCycleSpeedSlider.in(set_), kCycleSpeedId, led::kMinCycleSpeed, led::kMaxCycleSpeed, 0);
    hint(kHintCycleSpeed);
    proximityOn_ = makeButton(L::kProximityOn.in(set_), QString(), true);
    hinted_.emplace_back(proximityOn_, kHintProximityOn);
    proximityOff_ = makeButton(L::kProximityOff.in(set_), QString(), true);
    hinted_.emplace_back(proximityOff_, kHintProximityOff);
    swatches_[led::kSingleSlot] = new CColorBtn(QString(), rectOf(L::kSingleSwatch), this);
    hinted_.emplace_back(swatches_[led::kSingleSlot], kHintSingleSwatch);
    for (int i = 0; i < L::kPresetCount; ++i) presets_[static_cast<std::size_t>(i)] = makeButton(L::presetRect(i, set_), QString(), true);
    for (int c = 0; c < 3; ++c) {
        colourSliders_[static_cast<std::size_t>(c)] =
            makeSlider(L::kColourSliders[static_cast<std::size_t>(c)].in(set_), kRedId + c, 0, 255, L::kColourThumbStop);
        hint(kHintColourSliders);
    }
    for (int c = 0; c < 3; ++c) {
        const QRect r = toQRect(L::kValueBoxes[static_cast<std::size_t>(c)]);
        auto* box = new CBitmapEdit(r, this, true, Qt::AlignHCenter);
        box->setBackground(r, normalImage());
        box->setValidator(new QIntValidator(0, 255, box));
        box->setEnabled(false);
        valueBoxes_[static_cast<std::size_t>(c)] = box;
    }
    for (std::size_t t = 0; t < titles_.size(); ++t) {
        auto* area = new TitleArea(rectOf(L::kTitles[t]), this);
        area->cutImages(area->geometry(), normalImage(), hoverImage(), pressedImage(), normalImage());
        titles_[t] = area;
        hinted_.emplace_back(area, kTitleHints[t]);
    }
}

CPngHSliderBar* CDlgLEDSet::slider(int id) const {
    switch (id) {
    case kBreathingId: return breathing_;
    case kBrightnessId: return brightness_;
    case kCycleSpeedId: return cycleSpeed_;
    case kRedId:
    case kGreenId:
    case kBlueId: return colourSliders_[static_cast<std::size_t>(id - kRedId)];
    default: return nullptr;
    }
}

void CDlgLEDSet::applyLabels() {
    const StringCatalogue& s = state_.strings;
    for (std::size_t m = 0; m < modes_.size(); ++m) modes_[m]->setCaption(qtext(s.text(kModeKeys[m])));
    proximityOn_->setCaption(qtext(s.text("str_led_body_on")));
    proximityOff_->setCaption(qtext(s.text("str_led_body_off")));
    for (std::size_t i = 0; i < swatches_.size(); ++i) swatches_[i]->setCaption(qtext(s.text(kSwatchKeys[i])));
    const auto heading = [&](L::Title t, const QString& text) { static_cast<TitleArea*>(titles_[t])->setHeading(text); };
    heading(L::kBacklight, headingOf(s.text("str_backlight")));
    heading(L::kProximity, headingOf(s.text("str_proximity_sensing")));
    heading(L::kColourSetting, headingOf(s.text("str_color_setting")));
    // The heading beside the single swatch is that swatch's own label.
    heading(L::kCurrentColour, qtext(s.text("str_choose_color")));
    update();
}

void CDlgLEDSet::paintEvent(QPaintEvent* e) {
    CSkinPage::paintEvent(e);
    QPainter p(this);
    for (std::size_t i = 0; i < kLabelKeys.size(); ++i) {
        const QRect box = rectOf(L::kLabels[i]);
        const QString text = qtext(state_.strings.text(kLabelKeys[i]));
        if (i == L::kPresetNote || i == L::kCustomNote) {
            p.setFont(shellDlgFont());
            p.setPen(kNoteColour);
            p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        } else {
            p.setPen(kLabelColour);
            drawFitted(p, box, Qt::AlignRight, text, 14, 300);
        }
    }
}

// ---- Refresh and the colour slot ------------------------------------------

void CDlgLEDSet::Refresh() {
    ProfileRecord& r = state_.settings.current;
    const led::ModeView view = led::modeView(r.lightingMode, r.symphonyCustom, slot_);
    for (int m = 1; m <= led::kModeCount; ++m) modeButton(m)->setCheckedState(r.lightingMode == m ? 1 : 0);
    enableSlider(breathing_, view.breathing);
    enableSlider(brightness_, view.brightness);
    customCycle_->setEnabled(view.cycleColours);
    for (int i = 0; i < 3; ++i) swatches_[static_cast<std::size_t>(i)]->setEnabled(view.cycleColours);
    enableSlider(cycleSpeed_, view.cycleSpeed);
    slot_ = view.slot;
    SetPicker(view.picker);

    proximityOn_->setCheckedState(r.proximitySensing != 0 ? 1 : 0);
    proximityOff_->setCheckedState(r.proximitySensing != 0 ? 0 : 1);

    breathing_->setPosition(r.breathingFrequency);
    brightness_->setPosition(r.brightness);
    cycleSpeed_->setPosition(led::cycleSpeedPosition(r.symphonySpeed));

    uncheckPresets();
    if (led::isSlot(slot_) && r.ledColourIsCustom[slot_] == 0) {
        if (!led::isPreset(r.ledColourPreset[slot_])) r.ledColourPreset[slot_] = 0;
        presets_[static_cast<std::size_t>(r.ledColourPreset[slot_])]->setCheckedState(1);
        showColour(r.ledColour[slot_]);
        showNumbers();
    }

    customCycle_->setCheckedState(r.symphonyCustom == 1 ? 1 : 0);
    for (std::size_t i = 0; i < swatches_.size(); ++i) swatches_[i]->setColour(r.ledColour[i]);
}

void CDlgLEDSet::SetPicker(bool on) {
    picker_ = on;
    if (!on) slot_ = led::kNoSlot;
    const bool live = on && led::isSlot(slot_);
    for (CGDIBitmapBtn* b : presets_) {
        b->setCheckedState(0);
        b->setEnabled(live);
    }
    showColour(live ? state_.settings.current.ledColour[slot_] : 0);
    for (CPngHSliderBar* s : colourSliders_) enableSlider(s, live);
    showNumbers();
}

void CDlgLEDSet::showColour(uint32_t colour) {
    for (int c = 0; c < 3; ++c) {
        numbers_[static_cast<std::size_t>(c)] = led::colourByte(colour, c);
        colourSliders_[static_cast<std::size_t>(c)]->setPosition(numbers_[static_cast<std::size_t>(c)]);
    }
}

void CDlgLEDSet::showNumbers() {
    for (std::size_t c = 0; c < 3; ++c) valueBoxes_[c]->setText(QString::number(numbers_[c]));
}

void CDlgLEDSet::uncheckPresets() {
    for (CGDIBitmapBtn* b : presets_) b->setCheckedState(0);
}

// ---- Commands and slider reports --------------------------------------------

void CDlgLEDSet::onCommand(const QObject* control) {
    ProfileRecord& r = state_.settings.current;
    const auto is = [control](const auto& list) { return std::find(list.begin(), list.end(), control) - list.begin(); };
    if (const auto m = is(modes_); m < led::kModeCount) {
        r.lightingMode = static_cast<int32_t>(m + 1);
        slot_ = led::slotForModeChoice(r.lightingMode, r.symphonyCustom);
    } else if (control == customCycle_) {
        const int now = customCycle_->checkedState() ? 0 : 1;
        customCycle_->setCheckedState(now);
        r.symphonyCustom = now;
    } else if (const auto i = is(swatches_); i < led::kSingleSlot) {
        slot_ = static_cast<int>(i);
    } else if (control == proximityOn_ || control == proximityOff_) {
        r.proximitySensing = control == proximityOn_ ? 1 : 0;
    } else if (const auto p = is(presets_); p < L::kPresetCount) {
        led::choosePreset(r, slot_, static_cast<int>(p));
    } else {
        return;
    }
    Refresh();
}

intptr_t CDlgLEDSet::onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == msg::kSliderChanged) onSlider(static_cast<int>(lParam), static_cast<int>(wParam));
    return 0;
}

void CDlgLEDSet::onSlider(int id, int position) {
    ProfileRecord& r = state_.settings.current;
    switch (id) {
    case kBrightnessId: r.brightness = position; return;
    case kBreathingId: r.breathingFrequency = position; return;
    case kCycleSpeedId: r.symphonySpeed = led::symphonySpeedOf(position); return;
    case kRedId:
    case kGreenId:
    case kBlueId: break;
    default: return;
    }
    const int channel = id - kRedId;
    numbers_[static_cast<std::size_t>(channel)] = position;
    if (led::setColourChannel(r, slot_, channel, position)) {
        swatches_[static_cast<std::size_t>(slot_)]->setColour(r.ledColour[slot_]);
        uncheckPresets();
    }
    showNumbers();
}

// ---- The colour wheel, the cursor and the hints ----------------------------

bool CDlgLEDSet::onWheel(const QPoint& p) const {
    const QRectF e = QRectF(toQRect(L::kWheel));
    // Pixel centres, as the wheel's art is painted.
    const double dx = (p.x() + 0.5 - e.center().x()) / (e.width() / 2);
    const double dy = (p.y() + 0.5 - e.center().y()) / (e.height() / 2);
    return dx * dx + dy * dy <= 1.0;
}

void CDlgLEDSet::updateCursor(const QPoint& p) {
    if (picker_ && onWheel(p)) setCursor(Qt::CrossCursor);
    else unsetCursor();
}

void CDlgLEDSet::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    ProfileRecord& r = state_.settings.current;
    if (e->button() == Qt::LeftButton && picker_ && led::isSlot(slot_) && onWheel(p) && normalImage().rect().contains(p)) {
        // The page's own pixel, so the stored colour is exactly what is shown.
        const QColor c = normalImage().pixelColor(p);
        led::setOwnColour(r, slot_, static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
                                        static_cast<uint32_t>(c.blue()) << 16);
        showColour(r.ledColour[slot_]);
        swatches_[static_cast<std::size_t>(slot_)]->setColour(r.ledColour[slot_]);
        // A colour from the wheel is no preset any more.
        uncheckPresets();
        showNumbers();
    }
    updateCursor(p);
}

void CDlgLEDSet::mouseReleaseEvent(QMouseEvent* e) { updateCursor(e->position().toPoint()); }

void CDlgLEDSet::mouseDoubleClickEvent(QMouseEvent* e) { updateCursor(e->position().toPoint()); }

void CDlgLEDSet::mouseMoveEvent(QMouseEvent* e) {
    // From the screen position: the swatches relay their moves in screen
    // coordinates, the bitmap buttons in the page's.
    const QPoint p = mapFromGlobal(e->globalPosition()).toPoint();
    postHints(p);
    updateCursor(p);
}

void CDlgLEDSet::postHints(const QPoint& p) {
    const auto over = [&p](const QWidget* w) { return w->geometry().adjusted(-1, -1, 1, 1).contains(p); };
    for (const auto& [control, hint] : hinted_) {
        if (!over(control)) continue;
        const int shown = control != customCycle_ ? hint : customCycle_->checkedState() ? kHintCustomSet : kHintCustomClear;
        state_.mainWindow.post(msg::kShowHint, 0, shown);
    }
}

}  // namespace q30x
