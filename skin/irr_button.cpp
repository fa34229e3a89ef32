#include "skin/irr_button.h"

#include <QMouseEvent>
#include <QPainter>

#include "skin/images.h"
#include "skin/message_port.h"

namespace q30x {

IrrLook irrLook(bool markedMode, bool marked, bool pressed, bool hover, bool enabled) {
    if (markedMode) return marked ? IrrLook::Pressed : hover ? IrrLook::Hover : IrrLook::Normal;
    if (!enabled) return IrrLook::Disabled;
    if (pressed) return IrrLook::Pressed;
    return hover ? IrrLook::Hover : IrrLook::Normal;
}

int irrCaptionX(int centreX, int length) { return centreX + 5 - (length > 5 ? 3 * length : 6 * length); }

CIrrButton::CIrrButton(const QString& caption, const QRegion& region, QWidget* parent)
    : QAbstractButton(parent), box_(region.boundingRect()) {
    setText(caption);
    centre_ = box_.center();
    region_ = region.translated(-box_.topLeft());
    setGeometry(box_);
    setMask(region_);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    show();
}

void CIrrButton::setImages(int normalId, int pressedId, int hoverId, int disabledId) {
    setImages(builtinImage(normalId), builtinImage(pressedId), builtinImage(hoverId), builtinImage(disabledId));
}

void CIrrButton::setImages(const QImage& normal, const QImage& pressed, const QImage& hover,
                           const QImage& disabled) {
    images_ = {normal, pressed, hover, disabled};
    update();
}

void CIrrButton::setMarkedMode(bool on) {
    markedMode_ = on;
    update();
}

void CIrrButton::setMarked(bool on) {
    if (on != marked_) {
        marked_ = on;
        update();
    }
    if (captured_) {
        captured_ = false;
        releaseMouse();
        hover_ = false;
        repaint();
    }
}

IrrLook CIrrButton::look() const { return irrLook(markedMode_, marked_, isDown(), hover_, isEnabled()); }

bool CIrrButton::hitTest(const QPoint& p) const { return rect().contains(p) && region_.contains(p); }

void CIrrButton::paintEvent(QPaintEvent*) {
    const IrrLook l = look();
    const QImage& page = images_[static_cast<size_t>(l)];
    QPainter p(this);
    p.setClipRegion(region_);
    // The caption is placed in page coordinates, so draw the page slice with
    // the painter moved back to the page's origin.
    p.translate(-box_.topLeft());
    p.drawImage(box_.topLeft(), cut(page, box_));
    if (text().isEmpty()) return;
    const QColor colour = l == IrrLook::Pressed ? kCaptionPressed : l == IrrLook::Hover ? kCaptionHover : kCaptionNormal;
    const QFont font = shellDlgFont();
    p.setFont(font);
    p.setPen(colour);
    const int x = irrCaptionX(centre_.x(), static_cast<int>(text().size()));
    const int y = centre_.y() - 6;
    p.drawText(QPoint(x, y + QFontMetrics(font).ascent()), text());
}

void CIrrButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !hitTest(e->position().toPoint())) return;
    // The command may open a modal window (the assignment popup, the
    // progress window), which must get the pointer: a grab held from the
    // hover would keep every click of it here.
    if (captured_) releaseMouse();
    captured_ = false;
    if (MessagePort* port = MessagePort::of(parent())) port->send(msg::kCommand, 0, MessagePort::handle(this));
    grabMouse();
    captured_ = true;
    QAbstractButton::mousePressEvent(e);
}

void CIrrButton::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void CIrrButton::track(const QPoint& p) {
    if (hitTest(p)) {
        if (!captured_) {
            grabMouse();
            captured_ = true;
        }
        if (!hover_) {
            hover_ = true;
            update();
        }
    } else {
        if (captured_) {
            releaseMouse();
            captured_ = false;
        }
        hover_ = false;
        update();
    }
}

void CIrrButton::mouseMoveEvent(QMouseEvent* e) {
    track(e->position().toPoint());
    QAbstractButton::mouseMoveEvent(e);
}

void CIrrButton::mouseReleaseEvent(QMouseEvent* e) {
    if (captured_) {
        releaseMouse();
        captured_ = false;
    }
    QAbstractButton::mouseReleaseEvent(e);
    track(e->position().toPoint());
}

}  // namespace q30x
