#pragma once
#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <array>

namespace q30x {

// Which of the four cut images a CGDIBitmapBtn shows.
enum class BitmapLook { Normal, Hover, Checked, Disabled };

// Check mode shows the checked image for the check state, otherwise for the
// pressed state; it wins even over disabled, so a disabled ticked box stays
// ticked.
BitmapLook bitmapLook(bool checkMode, bool checked, bool pressed, bool hover, bool hoverEnabled, bool enabled);

// A rectangular button drawn from four images cut from full-page skins at
// its own rectangle, with an optional caption. The click arrives on release
// as QAbstractButton::clicked; with press reports on, every left press and
// release is also posted to the parent's port as 1805 (0x201 / 0x202, the
// button's handle).
class CGDIBitmapBtn : public QAbstractButton {
public:
    CGDIBitmapBtn(const QString& caption, const QRect& rect, QWidget* parent);

    // Images: normal, hover, checked, disabled (callers pass the normal page
    // again as the disabled one).
    void cutImages(const QRect& rect, const QImage& normal, const QImage& hover, const QImage& checked,
                   const QImage& disabled);
    void setImages(const QImage& normal, const QImage& hover, const QImage& checked, const QImage& disabled);
    void setCaption(const QString& text);
    // Centred and cut at the right unless set; a path reads better from the
    // left with its middle cut, so its file name stays visible.
    void setCaptionLayout(Qt::Alignment horizontal, Qt::TextElideMode elide);
    // A caption too long for one line takes two in a smaller face.
    void setCaptionWrap(bool on);
    // Where the caption starts: past the box of a check-mode option.
    void setCaptionIndent(int left) { captionLeft_ = left; }
    // A caption wider than a small button shrinks (to 9 pixels) before it is
    // cut, so a long word of another language still reads whole.
    void setCaptionShrinks(bool on) { captionShrinks_ = on; }
    QString caption() const { return caption_; }
    void setModes(bool checkMode, bool autoToggle);
    void setCheckedState(int checked);
    int checkedState() const { return checked_; }
    void setValue(int32_t v) { value_ = v; }
    int32_t value() const { return value_; }
    void setColours(QColor normal, QColor hover, QColor checked);
    void setTooltip(const QString& text, bool active);
    void setPressReports(bool on) { pressReports_ = on; }
    void setHoverEnabled(bool on) { hoverEnabled_ = on; }
    bool hovered() const { return hover_; }
    BitmapLook look() const;

    static const QColor kDisabledText;
    static const QColor kDisabledEtch;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void report(uintptr_t what);
    void setHover(bool on);

    bool checkMode_ = false;
    int checked_ = 0;
    bool autoToggle_ = false;
    bool hoverEnabled_ = true;
    int32_t value_ = 0;
    QString caption_;
    Qt::Alignment captionAlignment_ = Qt::AlignHCenter;
    Qt::TextElideMode captionElide_ = Qt::ElideRight;
    int captionLeft_ = 8;
    bool captionShrinks_ = false;
    bool hover_ = false;
    std::array<QImage, 4> images_;  // by BitmapLook
    std::array<QColor, 3> colours_;  // normal, hover, checked
    bool pressReports_ = false;
    bool captionWrap_ = false;
    static constexpr int kWrappedCaptionMinPixels = 9;
};

}  // namespace q30x
