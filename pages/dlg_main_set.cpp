#include "pages/dlg_main_set.h"

#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "buttons/assignment.h"
#include "buttons/function_names.h"
#include "platform/messages.h"
#include "platform/utf16.h"
#include "skin/bitmap_button.h"
#include "skin/bitmap_edit.h"
#include "skin/images.h"
#include "skin/message_port.h"
#include "skin/qt_text.h"
#include "skin/slider.h"

namespace q30x {

namespace ms = layout::mainset;
using layout::SkinSet;

namespace {


const QColor kTitleColour{0xE8, 0xEC, 0xF1};
const QColor kCaptionColour{0x8A, 0x90, 0x9A};
// Long translations shrink down to this size before they are cut.
constexpr int kSmallestTextPixels = 9;

// One line, left-aligned and vertically centred in `r`: made smaller until
// it fits, then cut with an ellipsis.
void drawFitted(QPainter& p, const QRect& r, const QString& text, QFont font, const QColor& colour) {
    while (QFontMetrics(font).horizontalAdvance(text) > r.width() && font.pixelSize() > kSmallestTextPixels)
        font.setPixelSize(font.pixelSize() - 1);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QFontMetrics(font).elidedText(text, Qt::ElideRight, r.width()));
}

// The text beside a tick box's or radio's glyph.
QRect glyphText(const layout::Rect& control) {
    return toQRect(control).adjusted(ms::kGlyphWidth, 0, 0, 0);
}

// A spin button that cannot be used: its normal look, sunk into the page.
QImage dimmed(QImage image) {
    QPainter p(&image);
    p.fillRect(image.rect(), QColor(0x10, 0x12, 0x15, 160));
    return image;
}

QRegion quadRegion(const ms::Quad& quad) {
    QPolygon polygon;
    for (const auto& point : quad) polygon << QPoint(point.x, point.y);
    return QRegion(polygon);
}

bool isDialogKey(const QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) return false;
    switch (static_cast<const QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Space: return true;
        default: return false;
    }
}

}  // namespace

// ---- CKeyTab ----------------------------------------------------------------

void CKeyTab::setLabel(const QString& label) {
    if (label == label_) return;
    label_ = label;
    setToolTip(label);
    update();
}

void CKeyTab::paintEvent(QPaintEvent* e) {
    CIrrButton::paintEvent(e);
    if (label_.isEmpty()) return;
    // The widest level band of the slanted shape, with room for the slant
    // over the text's height.
    const int middle = height() / 2;
    const QRect band = mask().intersected(QRect(0, middle, width(), 1)).boundingRect().adjusted(8, 0, -8, 0);
    const IrrLook l = look();
    QPainter p(this);
    const QFont font = shellDlgFont();
    p.setFont(font);
    p.setPen(l == IrrLook::Pressed ? kCaptionPressed : l == IrrLook::Hover ? kCaptionHover : kCaptionNormal);
    const QFontMetrics metrics(font);
    p.drawText(QRect(band.left(), 0, band.width(), height()), Qt::AlignCenter | Qt::TextSingleLine,
               metrics.elidedText(label_, Qt::ElideRight, band.width()));
}

// ---- CDlgMainSet --------------------------------------------------------------

CDlgMainSet::CDlgMainSet(ProgramState& state, QWidget* parent)
    : CSkinPage(QString::fromStdString(state.folders.program), layout::pages::kMainSet, parent),
      state_(state),
      profile_(state.settings.current),
      set_(state.language.chineseUi ? SkinSet::Chinese : SkinSet::Standard) {
    port()->setHandler([this](uint32_t m, uintptr_t w, intptr_t l) { return onMessage(m, w, l); });
    createControls();
    applyLabels();
    Refresh();
    installEventFilter(this);
    port()->setTimer(kMarkerTimer, kMarkerPeriodMs);
    port()->setTimer(kWheelTimer, kWheelPeriodMs);
}

CGDIBitmapBtn* CDlgMainSet::makeButton(const layout::Rect& r, std::function<void()> onClick) {
    auto* button = new CGDIBitmapBtn(QString(), toQRect(r), this);
    // The page decides every checked state.
    button->setModes(true, false);
    if (onClick) QObject::connect(button, &QAbstractButton::clicked, this, std::move(onClick));
    skinned_.emplace_back(button, toQRect(r));
    return button;
}

void CDlgMainSet::createControls() {
    const bool chinese = set_ == SkinSet::Chinese;
    // The tracks and the edit's background are cut from the marked tabs'
    // picture, which holds the whole page.
    const QImage tabsPressed = builtinImage(chinese ? ms::res::kChinesePressed : ms::res::kStandardPressed);
    const QImage thumb = loadSkinImage(QString::fromStdString(state_.folders.program), QStringLiteral("skins/Slider.png"));
    auto makeSlider = [&](const layout::Rect& r, int id, int minimum, int maximum) {
        auto* slider = new CPngHSliderBar(thumb, toQRect(r), this, id);
        slider->setTrackImage(r.left, r.top, r.width(), r.height(), tabsPressed);
        slider->setTrackRect(toQRect(r));
        slider->setRange(minimum, maximum);
        return slider;
    };

    for (std::size_t i = 0; i < dpi_.size(); ++i) dpi_[i] = makeButton(ms::kDpi[i], [this, i] { onDpi(i); });
    speedSlider_ = makeSlider(ms::kSpeedSlider, ms::kSpeedSliderId, mainset::kMinSpeed, mainset::kMaxSpeed);
    precision_ = makeButton(ms::kPrecision, [this] {
        precision_->setCheckedState(precision_->checkedState() ? 0 : 1);
        profile_.enhancePointerPrecision = precision_->checkedState();
    });
    heightSlider_ = makeSlider(ms::kHeightSlider, ms::kHeightSliderId, mainset::kMinHeight, mainset::kMaxHeight);
    for (std::size_t i = 0; i < rates_.size(); ++i) rates_[i] = makeButton(ms::kRates[i], [this, i] { onRate(i); });
    wheelLines_ = makeButton(ms::kWheelLines.in(set_), [this] { onWheelLines(); });
    const QRect edit = toQRect(ms::kWheelEdit.in(set_));
    wheelEdit_ = new CBitmapEdit(edit, this, true, Qt::AlignHCenter);
    wheelEdit_->setBackground(edit, tabsPressed);
    QPalette colours = wheelEdit_->palette();
    colours.setColor(QPalette::Disabled, QPalette::Text, QColor(0x2E, 0x33, 0x3A));
    wheelEdit_->setPalette(colours);
    spinUp_ = makeButton(ms::kSpinUp.in(set_), [this] { onSpin(1); });
    spinDown_ = makeButton(ms::kSpinDown.in(set_), [this] { onSpin(-1); });
    // The spin buttons have no state to show; they show the press instead.
    for (CGDIBitmapBtn* spin : {spinUp_, spinDown_}) spin->setModes(false, false);
    wheelScreen_ = makeButton(ms::kWheelScreen.in(set_), [this] { onWheelScreen(); });
    for (std::size_t i = 0; i < markers_.size(); ++i) markers_[i] = makeButton(ms::kMarkers[i].in(set_), nullptr);
    for (std::size_t i = 0; i < titles_.size(); ++i) titles_[i] = makeButton(ms::kTitles[i], nullptr);
    const QImage tabsNormal = builtinImage(chinese ? ms::res::kChineseNormal : ms::res::kStandardNormal);
    const QImage tabsHover = builtinImage(chinese ? ms::res::kChineseHover : ms::res::kStandardHover);
    for (std::size_t i = 0; i < tabs_.size(); ++i) {
        tabs_[i] = new CKeyTab(quadRegion(ms::kTabs[i]), this);
        tabs_[i]->setImages(tabsNormal, tabsPressed, tabsHover, tabsNormal);
        tabs_[i]->setMarkedMode(true);
    }

    for (CGDIBitmapBtn* b : dpi_) hints_.emplace_back(b, kHintDpi);
    hints_.emplace_back(speedSlider_, kHintSpeed);
    hints_.emplace_back(precision_, kHintPrecision);
    hints_.emplace_back(heightSlider_, kHintHeight);
    for (CGDIBitmapBtn* b : rates_) hints_.emplace_back(b, kHintRate);
    hints_.emplace_back(wheelLines_, kHintWheelLines);
    hints_.emplace_back(wheelScreen_, kHintWheelScreen);
    for (CKeyTab* t : tabs_) hints_.emplace_back(t, kHintKeys);
    for (std::size_t i = 0; i < titles_.size(); ++i) hints_.emplace_back(titles_[i], kTitleHints[i]);

    // Hints over every control: the skinned buttons pass their moves on, the
    // tabs and the tracks leave them to the page, the thumbs and the edit
    // keep theirs and are watched.
    for (QWidget* w : std::initializer_list<QWidget*>{speedSlider_, heightSlider_}) w->setMouseTracking(true);
    for (QWidget* w : std::initializer_list<QWidget*>{speedSlider_->thumb(), heightSlider_->thumb(), wheelEdit_}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

// ---- Texts ------------------------------------------------------------------

void CDlgMainSet::drawTexts(QPainter& p) const {
    auto entry = [this](std::string_view key) { return qtext(state_.strings.text(key)); };
    const QFont titleFont = skinFont(QStringLiteral("MS Shell Dlg"), 16, 700);
    for (std::size_t i = 0; i < titles_.size(); ++i) {
        const std::u16string& hint = state_.strings.entry(hintEntry(kTitleHints[i]));
        drawFitted(p, toQRect(ms::kTitles[i]).adjusted(ms::kTitleIndent, 0, 0, 0), qtext(mainset::sectionTitle(hint)),
                   titleFont, kTitleColour);
    }
    const QFont textFont = shellDlgFont();
    drawFitted(p, toQRect(ms::kPrecisionText), entry("str_improveAccuracy"), textFont, kCaptionNormal);
    drawFitted(p, glyphText(ms::kWheelLines.in(set_)), entry("str_rollerColumn"), textFont, kCaptionNormal);
    drawFitted(p, glyphText(ms::kWheelScreen.in(set_)), entry("str_rollerScreen"), textFont, kCaptionNormal);
    drawFitted(p, toQRect(ms::kHeightCaption), entry("str_sheight"), skinFont(QStringLiteral("MS Shell Dlg"), 13, 300),
               kCaptionColour);
}

void CDlgMainSet::applyLabels() {
    const std::array<const QImage*, 3> looks = {&normalImage(), &pressedImage(), &hoverImage()};
    for (std::size_t i = 0; i < looks.size(); ++i) {
        labelled_[i] = looks[i]->convertToFormat(QImage::Format_RGB32);
        QPainter p(&labelled_[i]);
        drawTexts(p);
    }
    cutControlImages();
    auto tooltip = [this](std::string_view key) { return qtext(state_.strings.text(key)); };
    for (CGDIBitmapBtn* b : dpi_) b->setTooltip(tooltip("str_dpiwant"), true);
    precision_->setTooltip(tooltip("str_improveAccuracy"), true);
    for (CGDIBitmapBtn* b : rates_) b->setTooltip(tooltip("str_rollingrate"), true);
    wheelLines_->setTooltip(tooltip("str_rollerColumn"), true);
    wheelScreen_->setTooltip(tooltip("str_rollerScreen"), true);
    showTabs();
    update();
}

void CDlgMainSet::cutControlImages() {
    const auto& [normal, pressed, hover] = labelled_;
    for (const auto& [button, r] : skinned_) {
        const QImage idle = cut(normal, r);
        const bool canBeDisabled = button == spinUp_ || button == spinDown_;
        button->setImages(idle, cut(hover, r), cut(pressed, r), canBeDisabled ? dimmed(idle) : idle);
    }
}

// ---- The profile --------------------------------------------------------------

void CDlgMainSet::Refresh() {
    dpiChecks_ = mainset::dpiChecks(profile_);
    for (std::size_t i = 0; i < dpi_.size(); ++i) dpi_[i]->setCheckedState(dpiChecks_[i]);
    // A damaged value is shown at the nearest end and stays as it is stored.
    speedSlider_->setPosition(std::clamp(profile_.pointerSpeed, mainset::kMinSpeed, mainset::kMaxSpeed));
    heightSlider_->setPosition(std::clamp(profile_.heightSetting, mainset::kMinHeight, mainset::kMaxHeight));
    precision_->setCheckedState(profile_.enhancePointerPrecision == 1);
    const int rate = mainset::rateIndex(profile_.reportInterval);
    for (std::size_t i = 0; i < rates_.size(); ++i) rates_[i]->setCheckedState(static_cast<int>(i) == rate);
    const bool lines = profile_.wheelScrollLines != mainset::kOneScreen;
    wheelValue_ = lines ? mainset::wheelFieldValue(profile_.wheelScrollLines) : mainset::kMinWheelLines;
    showWheelChoice(lines);
    showTabs();
    showWheelValue();
}

void CDlgMainSet::commitWheelField() {
    // Only what the user typed: the text Refresh put there is the profile's
    // own value, or a damaged one shown within range, which stays as stored.
    if (!wheelEdit_->isModified()) return;
    wheelValue_ = mainset::wheelValueOfText(wheelEdit_->text().toStdU16String());
    profile_.wheelScrollLines = wheelValue_;
    showWheelValue();
}

void CDlgMainSet::showWheelChoice(bool lines) {
    wheelLines_->setCheckedState(lines);
    wheelScreen_->setCheckedState(!lines);
    for (QWidget* w : std::initializer_list<QWidget*>{wheelEdit_, spinUp_, spinDown_}) w->setEnabled(lines);
}

void CDlgMainSet::showWheelValue() {
    wheelEdit_->setText(QString::number(wheelValue_));
    wheelEdit_->end(false);
}

void CDlgMainSet::showTabs() {
    for (std::size_t i = 0; i < tabs_.size(); ++i) {
        tabs_[i]->setMarked(isAssignmentChanged(profile_, static_cast<int>(i)));
        tabs_[i]->setLabel(qtext(labelTranslation(fixedText(profile_.buttons[i].label), state_.language.chineseUi)));
    }
}

// ---- The controls -------------------------------------------------------------

void CDlgMainSet::onDpi(std::size_t index) {
    if (!mainset::clickDpi(dpiChecks_, index)) return;
    dpi_[index]->setCheckedState(dpiChecks_[index]);
    mainset::writeDpiLevels(profile_, dpiChecks_);
}

void CDlgMainSet::onRate(std::size_t index) {
    for (std::size_t i = 0; i < rates_.size(); ++i) rates_[i]->setCheckedState(i == index);
    profile_.reportInterval = mainset::kRateIntervals[index];
}

// Typed text is taken first, so a click never works on a stale value.
void CDlgMainSet::onWheelLines() {
    commitWheelField();
    showWheelChoice(true);
    profile_.wheelScrollLines = wheelValue_;
}

void CDlgMainSet::onWheelScreen() {
    commitWheelField();
    showWheelChoice(false);
    profile_.wheelScrollLines = mainset::kOneScreen;
}

void CDlgMainSet::onSpin(int step) {
    commitWheelField();
    wheelValue_ = std::clamp(wheelValue_ + step, mainset::kMinWheelLines, mainset::kMaxWheelLines);
    profile_.wheelScrollLines = wheelValue_;
    showWheelValue();
}

void CDlgMainSet::onTab(int index) {
    auto& label = profile_.buttons[index].label;
    const std::u16string_view stored = fixedText(label);
    const std::u16string_view translated = labelTranslation(stored, state_.language.chineseUi);
    if (translated != stored) setFixedText(label, std::u16string(translated));
    if (openAssignment_) openAssignment_(index);
    showTabs();
}

intptr_t CDlgMainSet::onMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case msg::kSliderChanged:
            if (lParam == ms::kSpeedSliderId) profile_.pointerSpeed = static_cast<int32_t>(wParam);
            if (lParam == ms::kHeightSliderId) profile_.heightSetting = static_cast<int32_t>(wParam);
            break;
        case msg::kCommand:
            for (std::size_t i = 0; i < tabs_.size(); ++i)
                if (lParam == MessagePort::handle(tabs_[i])) onTab(static_cast<int>(i));
            break;
        case msg::kTimer:
            if (wParam == kMarkerTimer) lightMarkers();
            if (wParam == kWheelTimer && wheelLines_->checkedState()) commitWheelField();
            break;
        default: break;
    }
    return 0;
}

// ---- The pointer and the keyboard ---------------------------------------------

void CDlgMainSet::lightMarkers() {
    const bool foreground = window()->isActiveWindow();
    const QPoint at = mapFromGlobal(QCursor::pos());
    for (std::size_t i = 0; i < markers_.size(); ++i) {
        const QRect inner = tabs_[i]->geometry().adjusted(kMarkerInset, 0, -kMarkerInset, 0);
        markers_[i]->setCheckedState(foreground && inner.contains(at));
    }
}

void CDlgMainSet::trackHints(const QPoint& pagePoint) {
    for (const auto& [control, hint] : hints_)
        if (control->geometry().adjusted(-1, -1, 1, 1).contains(pagePoint))
            state_.mainWindow.post(msg::kShowHint, 0, hint);
}

void CDlgMainSet::mouseMoveEvent(QMouseEvent* e) { trackHints(e->position().toPoint()); }

bool CDlgMainSet::eventFilter(QObject* watched, QEvent* event) {
    if (isDialogKey(event)) return true;
    if (event->type() == QEvent::MouseMove && watched != this)
        trackHints(static_cast<QWidget*>(watched)->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint()));
    return false;
}

void CDlgMainSet::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, labelled_[0]);
}

}  // namespace q30x
