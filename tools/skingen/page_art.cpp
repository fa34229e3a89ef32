#include <QPainterPath>

#include "art.h"

namespace skingen {

void drawPlate(QPainter& p, const QRect& r) {
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(0x17, 0x1A, 0x1F));
    fill.setColorAt(1, QColor(0x11, 0x13, 0x17));
    p.fillRect(r, fill);
    p.setPen(colour::kEdge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    drawCornerMarks(p, r);
}

// A mouse seen from above; `lit` 0 left, 1 middle, 2 right, 3 all.
void drawMouseGlyph(QPainter& p, const QRectF& box, int lit) {
    const QRectF body(box.center().x() - 8, box.top() + 0.5, 16, box.height() - 1);
    const double split = body.top() + body.height() * 0.42;
    QPainterPath shell;
    shell.addRoundedRect(body, 7, 7);
    p.setPen(QPen(colour::kGlyph, 1.4));
    p.setBrush(Qt::NoBrush);
    auto half = [&](bool left) {
        QPainterPath top;
        top.addRect(left ? QRectF(body.left(), body.top(), body.width() / 2, split - body.top())
                         : QRectF(body.center().x(), body.top(), body.width() / 2, split - body.top()));
        return shell.intersected(top);
    };
    if (lit == 0 || lit == 3) p.fillPath(half(true), colour::kAccentBright);
    if (lit == 2 || lit == 3) p.fillPath(half(false), colour::kAccentBright);
    p.drawPath(shell);
    p.drawLine(QPointF(body.left(), split), QPointF(body.right(), split));
    p.drawLine(QPointF(body.center().x(), body.top()), QPointF(body.center().x(), split));
    const QRectF wheel(body.center().x() - 2, body.top() + 3, 4, 6);
    p.setBrush(lit == 1 || lit == 3 ? colour::kAccentBright : colour::kGroove);
    p.drawRoundedRect(wheel, 2, 2);
}

void drawHeadingRule(QPainter& p, const QRect& title) {
    drawAccentRule(p, QRect(title.left(), title.bottom() + 2, title.width(), 1));
}

void drawValueWell(QPainter& p, const QRect& r) {
    p.fillRect(r, colour::kEdge);
    p.fillRect(r.adjusted(1, 1, -1, -1), colour::kGroove);
    p.fillRect(QRect(r.left() + 1, r.bottom(), r.width() - 2, 1), QColor(0x0E, 0x4D, 0x66));
}

}  // namespace skingen
