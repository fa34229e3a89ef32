#include "skin/color_btn.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

#include "skin/images.h"

namespace q30x {

CColorBtn::CColorBtn(const QString& caption, const QRect& rect, QWidget* parent)
    : QAbstractButton(parent), caption_(caption) {
    setGeometry(rect);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    show();
}

void CColorBtn::setColour(uint32_t colour) {
    colour_ = colour;
    update();
}

void CColorBtn::setTooltip(const QString& text, bool active) { setToolTip(active ? text : QString()); }

void CColorBtn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), colorRef(colour_));
}

void CColorBtn::setHover(bool on) {
    if (hover_ == on) return;
    hover_ = on;
    update();
}

void CColorBtn::mouseMoveEvent(QMouseEvent* e) {
    const bool inside = rect().contains(e->position().toPoint());
    // As with the bitmap buttons, a press that started elsewhere does not
    // bring the hover; a press that started here keeps it up to the edge.
    if (!inside) setHover(false);
    else if (!(e->buttons() & Qt::LeftButton) || hover_) setHover(true);
    QAbstractButton::mouseMoveEvent(e);
    // The relay below is the parent's copy; the move is not passed up again.
    e->accept();
    if (QWidget* p = parentWidget())
        QCoreApplication::postEvent(p, new QMouseEvent(QEvent::MouseMove, e->globalPosition(), e->scenePosition(),
                                                       e->globalPosition(), Qt::NoButton, e->buttons(),
                                                       e->modifiers()));
}

void CColorBtn::enterEvent(QEnterEvent* e) {
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) setHover(true);
    QAbstractButton::enterEvent(e);
}

void CColorBtn::leaveEvent(QEvent* e) {
    setHover(false);
    QAbstractButton::leaveEvent(e);
}

void CColorBtn::focusOutEvent(QFocusEvent* e) {
    setHover(false);
    QAbstractButton::focusOutEvent(e);
}

}  // namespace q30x
