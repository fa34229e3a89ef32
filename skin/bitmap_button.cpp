#include "skin/bitmap_button.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

#include "platform/messages.h"
#include "skin/images.h"
#include "skin/message_port.h"

namespace q30x {

const QColor CGDIBitmapBtn::kDisabledText{0x26, 0x2A, 0x27};
const QColor CGDIBitmapBtn::kDisabledEtch{0x5A, 0x61, 0x6B};

BitmapLook bitmapLook(bool checkMode, bool checked, bool pressed, bool hover, bool hoverEnabled, bool enabled) {
    if (checkMode ? checked : pressed) return BitmapLook::Checked;
    if (hover && hoverEnabled) return BitmapLook::Hover;
    if (!enabled) return BitmapLook::Disabled;
    return BitmapLook::Normal;
}

CGDIBitmapBtn::CGDIBitmapBtn(const QString& caption, const QRect& rect, QWidget* parent)
    : QAbstractButton(parent), caption_(caption), colours_{kCaptionNormal, kCaptionHover, kCaptionPressed} {
    setGeometry(rect);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    show();
}

void CGDIBitmapBtn::cutImages(const QRect& rect, const QImage& normal, const QImage& hover, const QImage& checked,
                              const QImage& disabled) {
    setImages(cut(normal, rect), cut(hover, rect), cut(checked, rect), cut(disabled, rect));
}

void CGDIBitmapBtn::setImages(const QImage& normal, const QImage& hover, const QImage& checked,
                              const QImage& disabled) {
    images_ = {normal, hover, checked, disabled};
    update();
}

void CGDIBitmapBtn::setCaption(const QString& text) {
    caption_ = text;
    update();
}

void CGDIBitmapBtn::setCaptionLayout(Qt::Alignment horizontal, Qt::TextElideMode elide) {
    captionAlignment_ = horizontal;
    captionElide_ = elide;
    update();
}

void CGDIBitmapBtn::setCaptionWrap(bool on) {
    captionWrap_ = on;
    update();
}

void CGDIBitmapBtn::setModes(bool checkMode, bool autoToggle) {
    checkMode_ = checkMode;
    autoToggle_ = autoToggle;
    update();
}

void CGDIBitmapBtn::setCheckedState(int checked) {
    if (checked == checked_) return;
    checked_ = checked;
    update();
}

void CGDIBitmapBtn::setColours(QColor normal, QColor hover, QColor checked) {
    colours_ = {normal, hover, checked};
    update();
}

void CGDIBitmapBtn::setTooltip(const QString& text, bool active) { setToolTip(active ? text : QString()); }

BitmapLook CGDIBitmapBtn::look() const {
    return bitmapLook(checkMode_, checked_ != 0, isDown(), hover_, hoverEnabled_, isEnabled());
}

void CGDIBitmapBtn::paintEvent(QPaintEvent*) {
    const BitmapLook l = look();
    QPainter p(this);
    p.drawImage(0, 0, orPlaceholder(images_[static_cast<size_t>(l)], size()));
    if (caption_.isEmpty()) return;
    const QColor colour = l == BitmapLook::Checked    ? colours_[2]
                          : l == BitmapLook::Hover    ? colours_[1]
                          : l == BitmapLook::Disabled ? kDisabledText
                                                      : colours_[0];
    QFont font = shellDlgFont();
    const int room = width() - captionLeft_ - 5;
    constexpr int kSmallestPixels = 9;
    while (captionShrinks_ && font.pixelSize() > kSmallestPixels && QFontMetrics(font).horizontalAdvance(caption_) > room)
        font.setPixelSize(font.pixelSize() - 1);
    QFontMetrics fm(font);
    QRect box(captionLeft_, height() / 2 - fm.height() / 2, room, fm.height());
    QString text = fm.elidedText(caption_, captionElide_, box.width());
    int flags = static_cast<int>(captionAlignment_) | Qt::AlignTop | Qt::TextSingleLine;
    if (captionWrap_ && text != caption_) {
        // Two lines in a smaller face before anything is cut.
        box = QRect(5, 1, width() - 10, height() - 2);
        flags = static_cast<int>(captionAlignment_) | Qt::AlignVCenter | Qt::TextWordWrap;
        bool fits = false;
        for (int px = font.pixelSize() - 1; px >= kWrappedCaptionMinPixels && !fits; --px) {
            font.setPixelSize(px);
            fm = QFontMetrics(font);
            fits = box.contains(fm.boundingRect(box, flags, caption_));
        }
        // A word longer than the button is cut on one line after all.
        text = fits ? caption_ : fm.elidedText(caption_, captionElide_, box.width());
        if (!fits) flags = static_cast<int>(captionAlignment_) | Qt::AlignVCenter | Qt::TextSingleLine;
    }
    p.setFont(font);
    p.setPen(colour);
    if (l == BitmapLook::Disabled) {
        // The disabled colour is nearly the skin's own; an etched light
        // edge keeps the caption readable on dark art.
        p.setPen(kDisabledEtch);
        p.drawText(box.translated(1, 1), flags, text);
        p.setPen(colour);
    }
    p.drawText(box, flags, text);
}

void CGDIBitmapBtn::report(uintptr_t what) {
    if (!pressReports_) return;
    if (MessagePort* port = MessagePort::of(parent())) port->post(msg::kBitmapButtonNotify, what, MessagePort::handle(this));
}

void CGDIBitmapBtn::setHover(bool on) {
    if (hover_ == on) return;
    hover_ = on;
    update();
}

void CGDIBitmapBtn::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        if (window() && !window()->isActiveWindow()) window()->activateWindow();
        if (autoToggle_) {
            checked_ = checked_ ? 0 : 1;
            update();
        }
        report(msg::kButtonPressed);
    }
    QAbstractButton::mousePressEvent(e);
}

void CGDIBitmapBtn::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) report(msg::kButtonReleased);
    QAbstractButton::mouseReleaseEvent(e);
}

void CGDIBitmapBtn::mouseMoveEvent(QMouseEvent* e) {
    const bool inside = rect().contains(e->position().toPoint());
    // While the button is held the pointer may still leave: Qt keeps sending
    // us the moves, so the hover ends at the edge, not at the release.
    if (!inside) setHover(false);
    else if (!(e->buttons() & Qt::LeftButton) || hover_) setHover(true);
    QAbstractButton::mouseMoveEvent(e);
    update();
    if (QWidget* p = parentWidget()) {
        QMouseEvent forwarded(QEvent::MouseMove, mapToParent(e->position()), e->scenePosition(),
                              e->globalPosition(), Qt::NoButton, e->buttons(), e->modifiers());
        QCoreApplication::sendEvent(p, &forwarded);
    }
}

void CGDIBitmapBtn::enterEvent(QEnterEvent* e) {
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) setHover(true);
    QAbstractButton::enterEvent(e);
}

void CGDIBitmapBtn::leaveEvent(QEvent* e) {
    setHover(false);
    QAbstractButton::leaveEvent(e);
}

void CGDIBitmapBtn::focusOutEvent(QFocusEvent* e) {
    setHover(false);
    QAbstractButton::focusOutEvent(e);
}

}  // namespace q30x
