#include "art.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>

namespace skingen {

namespace L = q30x::layout;

QRect rectOf(const L::Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

void drawAccentRule(QPainter& p, const QRect& line) {
    QLinearGradient g(line.topLeft(), line.topRight());
    g.setColorAt(0, colour::kAccent);
    g.setColorAt(0.55, QColor(colour::kAccent.red(), colour::kAccent.green(), colour::kAccent.blue(), 40));
    g.setColorAt(1, Qt::transparent);
    p.fillRect(line, g);
}

void drawPanel(QPainter& p, const QRect& r, bool titleStrip) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, colour::kPanelTop);
    g.setColorAt(1, colour::kPanelBottom);
    p.fillRect(r, g);
    if (titleStrip) {
        const QRect strip(r.left(), r.top(), r.width(), 30);
        p.fillRect(strip, colour::kTitle);
        drawAccentRule(p, QRect(strip.left(), strip.bottom() + 1, strip.width(), 1));
    }
    p.setPen(colour::kEdge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

Look lookOf(State s) {
    switch (s) {
        case State::Normal:
            return {QColor(0x2C, 0x31, 0x39), QColor(0x1D, 0x21, 0x27), QColor(0x3A, 0x41, 0x4B), QColor(0x8A, 0x90, 0x9A)};
        case State::Hover:
            return {QColor(0x33, 0x3B, 0x46), QColor(0x22, 0x28, 0x30), colour::kAccentBright, Qt::white};
        // Light enough for the dark pressed caption down to its last row.
        case State::Pressed:
            return {QColor(0x8E, 0xDC, 0xF8), QColor(0x34, 0xB0, 0xE0), QColor(0xC8, 0xF0, 0xFF), QColor(0x26, 0x1D, 0x05)};
    }
    return {};
}

void drawFace(QPainter& p, const QRectF& face, const Look& look, double radius, Qt::Orientation shading) {
    QLinearGradient g(face.topLeft(), shading == Qt::Vertical ? face.bottomLeft() : face.topRight());
    g.setColorAt(0, look.top);
    g.setColorAt(1, look.bottom);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(look.edge, 1));
    p.setBrush(g);
    p.drawRoundedRect(face, radius, radius);
    p.restore();
}

void drawButtonFace(QPainter& p, const QRect& cell, State s) {
    drawFace(p, QRectF(cell).adjusted(4.5, 4.5, -4.5, -5.5), lookOf(s), 3);
}

void drawTitleButton(QPainter& p, const QRect& cell, State s, TitleGlyph glyph) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(cell).adjusted(3, 3, -3, -3);
    if (s == State::Hover) p.fillRect(face, QColor(0x2A, 0x2F, 0x36));
    if (s == State::Pressed) p.fillRect(face, colour::kAccent);
    p.setPen(QPen(lookOf(s).ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = face.center();
    switch (glyph) {
        case TitleGlyph::Close:
            p.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
            p.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
            break;
        case TitleGlyph::Minimize: p.drawLine(c + QPointF(-5, 4.5), c + QPointF(5, 4.5)); break;
    }
    p.restore();
}

void drawInfoMark(QPainter& p, QPoint centre, int radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(centre, radius * 1.6);
    glow.setColorAt(0, QColor(0x15, 0x8C, 0xB9, 70));
    glow.setColorAt(1, Qt::transparent);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(centre), radius * 1.6, radius * 1.6);
    p.setPen(QPen(colour::kAccentBright, 2.5));
    p.setBrush(QColor(0x10, 0x2A, 0x36));
    p.drawEllipse(QPointF(centre), radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kAccentBright);
    p.drawEllipse(QPointF(centre.x(), centre.y() - radius * 0.45), radius * 0.14, radius * 0.14);
    p.drawRoundedRect(QRectF(centre.x() - radius * 0.12, centre.y() - radius * 0.18, radius * 0.24, radius * 0.68), 1.5, 1.5);
    p.restore();
}

namespace {

void stripes(QPainter& p, const QRect& r, std::initializer_list<QColor> colours, bool vertical) {
    const int n = static_cast<int>(colours.size());
    int i = 0;
    for (const QColor& c : colours) {
        if (vertical) {
            const int x0 = r.left() + r.width() * i / n, x1 = r.left() + r.width() * (i + 1) / n;
            p.fillRect(QRect(x0, r.top(), x1 - x0, r.height()), c);
        } else {
            const int y0 = r.top() + r.height() * i / n, y1 = r.top() + r.height() * (i + 1) / n;
            p.fillRect(QRect(r.left(), y0, r.width(), y1 - y0), c);
        }
        ++i;
    }
}

void star(QPainter& p, QPointF c, double outer, const QColor& colour) {
    QPolygonF poly;
    for (int k = 0; k < 10; ++k) {
        const double a = -M_PI / 2 + k * M_PI / 5;
        const double rad = k % 2 ? outer * 0.4 : outer;
        poly << QPointF(c.x() + rad * std::cos(a), c.y() + rad * std::sin(a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(poly);
}

}  // namespace

void drawFlag(QPainter& p, const QRect& r, int language) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double w = r.width(), h = r.height();
    const QColor white(0xF5, 0xF5, 0xF5);
    switch (language) {
        case 1:  // Chinese
            p.fillRect(r, QColor(0xDE, 0x29, 0x10));
            star(p, QPointF(r.left() + w * 0.2, r.top() + h * 0.3), h * 0.2, QColor(0xFF, 0xDE, 0x00));
            for (int k = 0; k < 4; ++k)
                star(p, QPointF(r.left() + w * (0.36 + 0.05 * (k % 2)), r.top() + h * (0.12 + 0.13 * k)), h * 0.06,
                     QColor(0xFF, 0xDE, 0x00));
            break;
        case 2: {  // English
            p.fillRect(r, QColor(0x01, 0x21, 0x69));
            p.setPen(QPen(white, h * 0.2));
            p.drawLine(r.topLeft(), r.bottomRight() + QPoint(1, 1));
            p.drawLine(r.bottomLeft() + QPoint(0, 1), r.topRight() + QPoint(1, 0));
            p.setPen(QPen(QColor(0xC8, 0x10, 0x2E), h * 0.08));
            p.drawLine(r.topLeft(), r.bottomRight() + QPoint(1, 1));
            p.drawLine(r.bottomLeft() + QPoint(0, 1), r.topRight() + QPoint(1, 0));
            p.fillRect(QRectF(r.left() + w * 0.4, r.top(), w * 0.2, h), white);
            p.fillRect(QRectF(r.left(), r.top() + h * 0.36, w, h * 0.28), white);
            p.fillRect(QRectF(r.left() + w * 0.44, r.top(), w * 0.12, h), QColor(0xC8, 0x10, 0x2E));
            p.fillRect(QRectF(r.left(), r.top() + h * 0.41, w, h * 0.18), QColor(0xC8, 0x10, 0x2E));
            break;
        }
        case 3: stripes(p, r, {QColor(0x00, 0x23, 0x95), white, QColor(0xED, 0x29, 0x39)}, true); break;
        case 4:  // Korean
            p.fillRect(r, white);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xCD, 0x2E, 0x3A));
            p.drawPie(QRectF(r.left() + w / 2 - h * 0.25, r.top() + h * 0.25, h * 0.5, h * 0.5), 0, 180 * 16);
            p.setBrush(QColor(0x00, 0x47, 0xA0));
            p.drawPie(QRectF(r.left() + w / 2 - h * 0.25, r.top() + h * 0.25, h * 0.5, h * 0.5), 180 * 16, 180 * 16);
            p.setPen(QPen(QColor(0x20, 0x20, 0x20), std::max(1.0, h * 0.06)));
            for (int k = 0; k < 4; ++k) {
                const double x = r.left() + (k % 2 ? w * 0.82 : w * 0.12), y = r.top() + (k < 2 ? h * 0.22 : h * 0.7);
                p.drawLine(QPointF(x, y), QPointF(x + w * 0.07, y + h * 0.08));
            }
            break;
        case 5: stripes(p, r, {QColor(0x10, 0x10, 0x10), QColor(0xDD, 0x00, 0x00), QColor(0xFF, 0xCE, 0x00)}, false); break;
        case 6: stripes(p, r, {QColor(0x00, 0x92, 0x46), white, QColor(0xCE, 0x2B, 0x37)}, true); break;
        case 7:
            stripes(p, r, {QColor(0xAA, 0x15, 0x1B), QColor(0xF1, 0xBF, 0x00), QColor(0xF1, 0xBF, 0x00),
                           QColor(0xAA, 0x15, 0x1B)}, false);
            break;
        case 8: stripes(p, r, {QColor(0xAE, 0x1C, 0x28), white, QColor(0x21, 0x46, 0x8B)}, false); break;
        case 9:
            p.fillRect(QRectF(r.left(), r.top(), w * 0.4, h), QColor(0x00, 0x66, 0x00));
            p.fillRect(QRectF(r.left() + w * 0.4, r.top(), w * 0.6 + 1, h), QColor(0xFF, 0x00, 0x00));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xFF, 0xE0, 0x00));
            p.drawEllipse(QPointF(r.left() + w * 0.4, r.top() + h / 2), h * 0.22, h * 0.22);
            break;
        case 10: stripes(p, r, {white, QColor(0x00, 0x39, 0xA6), QColor(0xD5, 0x2B, 0x1E)}, false); break;
        case 11: stripes(p, r, {QColor(0x00, 0x57, 0xB7), QColor(0xFF, 0xD7, 0x00)}, false); break;
        case 12:  // Trad. Chinese
            p.fillRect(r, QColor(0xFE, 0x00, 0x00));
            p.fillRect(QRectF(r.left(), r.top(), w / 2, h / 2), QColor(0x00, 0x00, 0x95));
            p.setPen(Qt::NoPen);
            p.setBrush(white);
            star(p, QPointF(r.left() + w / 4, r.top() + h / 4), h * 0.17, white);
            p.drawEllipse(QPointF(r.left() + w / 4, r.top() + h / 4), h * 0.08, h * 0.08);
            break;
        default: p.fillRect(r, QColor(0x55, 0x55, 0x55)); break;
    }
    // A soft top sheen and a dark hairline keep light flags apart from a
    // light popup.
    QLinearGradient sheen(r.topLeft(), r.bottomLeft());
    sheen.setColorAt(0, QColor(255, 255, 255, 60));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    p.fillRect(r, sheen);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0, 0, 0, 150));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.restore();
}

void drawGear(QPainter& p, const QRect& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = QRectF(r).center();
    const double R = r.width() * 0.46, inner = r.width() * 0.33;
    QPainterPath gear;
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        QPolygonF tooth;
        for (double d : {-0.22, 0.22})
            tooth << QPointF(c.x() + inner * std::cos(a + d), c.y() + inner * std::sin(a + d));
        for (double d : {0.16, -0.16}) tooth << QPointF(c.x() + R * std::cos(a + d), c.y() + R * std::sin(a + d));
        gear.addPolygon(tooth);
    }
    gear.addEllipse(c, inner, inner);
    gear.setFillRule(Qt::WindingFill);
    QPainterPath hole;
    hole.addEllipse(c, r.width() * 0.14, r.width() * 0.14);
    p.fillPath(gear.simplified().subtracted(hole), QColor(0x2E, 0x4A, 0x66));
    p.restore();
}

void drawPower(QPainter& p, const QRect& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ring = QRectF(r).adjusted(2.5, 3, -2.5, -2);
    p.setPen(QPen(QColor(0xB8, 0x2A, 0x1E), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(ring, 120 * 16, 300 * 16);
    p.drawLine(QPointF(ring.center().x(), r.top() + 1.5), QPointF(ring.center().x(), ring.center().y()));
    p.restore();
}

void drawAppIcon(QPainter& p, const QRect& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double w = r.width();
    // Whole-pixel strokes on the pixel grid: at 16 pixels a blurred edge is
    // all one would see.
    const double stroke = std::max(1.0, std::round(w * 0.045));
    const double onGrid = std::fmod(stroke, 2) / 2;
    const QRectF box = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient bg(box.topLeft(), box.bottomRight());
    bg.setColorAt(0, QColor(0x24, 0x29, 0x31));
    bg.setColorAt(1, QColor(0x0A, 0x0B, 0x0D));
    p.setPen(QPen(colour::kEdge, 1));
    p.setBrush(bg);
    p.drawRoundedRect(box, w * 0.18, w * 0.18);
    // A mouse seen from above: body, the split between the two buttons and
    // the wheel, traced in the accent.
    const double side = std::round(w * 0.28) + onGrid, end = std::round(w * 0.14) + onGrid;
    const QRectF body(r.left() + side, r.top() + end, w - 2 * side, w - 2 * end);
    QRadialGradient glow(body.center(), w * 0.45);
    glow.setColorAt(0, QColor(0x15, 0x8C, 0xB9, 90));
    glow.setColorAt(1, Qt::transparent);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(body.center(), w * 0.45, w * 0.45);
    QLinearGradient shell(body.topLeft(), body.bottomLeft());
    shell.setColorAt(0, QColor(0x1F, 0x24, 0x2B));
    shell.setColorAt(1, QColor(0x12, 0x14, 0x18));
    p.setBrush(shell);
    p.setPen(QPen(colour::kAccentBright, stroke));
    p.drawRoundedRect(body, body.width() / 2, body.width() / 2);
    // Even widths keep the split and the wheel centred on the icon's middle.
    const double cx = r.left() + w / 2;
    const double wheelWidth = 2 * std::max(1.0, std::round(w * 0.035));
    const QRectF wheel(cx - wheelWidth / 2, body.top() + std::round(w * 0.1), wheelWidth,
                       std::max(3.0, std::round(w * 0.13)));
    if (w >= 32) {
        const double split = 2 * std::max(1.0, std::round(w * 0.015));
        p.fillRect(QRectF(cx - split / 2, body.top(), split, wheel.bottom() + std::round(w * 0.08) - body.top()),
                   colour::kAccent);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kAccentBright);
    p.drawRoundedRect(wheel, wheelWidth / 2, wheelWidth / 2);
    p.restore();
}

QImage infoBox(bool question, State s) {
    QImage img(L::info::kSize.width, L::info::kSize.height, QImage::Format_RGB32);
    QPainter p(&img);
    drawPanel(p, img.rect(), true);
    drawInfoMark(p, QPoint(50, 84), 19);
    drawTitleButton(p, rectOf(L::info::kClose), s, TitleGlyph::Close);
    if (question) {
        drawButtonFace(p, rectOf(L::info::kQuestionOk), s);
        drawButtonFace(p, rectOf(L::info::kQuestionCancel), s);
    } else {
        drawButtonFace(p, rectOf(L::info::kOkOnly), s);
    }
    return img;
}

QImage progressImage(bool filled) {
    namespace lp = L::progress;
    QImage img(lp::kSize.width, lp::kSize.height, QImage::Format_ARGB32);
    QPainter p(&img);
    drawPanel(p, img.rect(), false);
    const QRect bar = rectOf(lp::kBar);
    if (filled) {
        QLinearGradient g(bar.topLeft(), bar.bottomLeft());
        g.setColorAt(0, QColor(0x9C, 0xE4, 0xFF));
        g.setColorAt(0.35, colour::kAccentBright);
        g.setColorAt(1, colour::kAccent);
        p.fillRect(bar, g);
        p.fillRect(QRect(bar.left(), bar.bottom(), bar.width(), 1), QColor(0x0C, 0x4F, 0x6A));
    } else {
        p.fillRect(bar, colour::kGroove);
        p.fillRect(QRect(bar.left(), bar.top(), bar.width(), 1), QColor(0x02, 0x02, 0x03));
        p.fillRect(QRect(bar.left(), bar.bottom(), bar.width(), 1), QColor(0x24, 0x28, 0x2E));
    }
    p.setPen(colour::kEdge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(bar.adjusted(-1, -1, 0, 0));
    return img;
}

QImage sliderThumb() {
    namespace ls = L::slider;
    QImage img(ls::kThumb.width, ls::kThumb.height, QImage::Format_RGB32);
    img.fill(QColor::fromRgb(ls::kKeyColour));
    QPainter p(&img);
    // No antialiasing: a blended edge pixel would keep a pink fringe once
    // the key colour is cut away.
    const int w = ls::kThumb.width, h = ls::kThumb.height;
    const QPolygon shape({QPoint(1, 1), QPoint(w - 2, 1), QPoint(w - 2, h - 6), QPoint(w / 2, h - 1), QPoint(1, h - 6)});
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0, QColor(0xF2, 0xF4, 0xF7));
    g.setColorAt(1, QColor(0x8E, 0x97, 0xA3));
    p.setPen(QColor(0x0E, 0x4D, 0x66));
    p.setBrush(g);
    p.drawPolygon(shape);
    p.setPen(colour::kAccent);
    p.drawLine(w / 2, 4, w / 2, h - 6);
    return img;
}

QImage popupBackground() {
    const L::Size s = L::popup::kBackground;
    QImage img(s.width, s.height, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(img.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0xF7, 0xF9, 0xFB, 250));
    g.setColorAt(1, QColor(0xE2, 0xE7, 0xEC, 250));
    p.setPen(QPen(QColor(0x00, 0x93, 0xD1), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 7, 7);
    return img;
}

QImage menuItem(bool hasSub, State s) {
    const L::Size sz = L::menu::kItem;
    QImage img(sz.width, sz.height, QImage::Format_RGB32);
    QPainter p(&img);
    const QRect r = img.rect();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    switch (s) {
        case State::Normal:
            g.setColorAt(0, QColor(0x1A, 0x1D, 0x22));
            g.setColorAt(1, QColor(0x13, 0x15, 0x19));
            break;
        case State::Hover:
            g.setColorAt(0, QColor(0x1F, 0x7F, 0xA8));
            g.setColorAt(1, QColor(0x13, 0x5E, 0x80));
            break;
        case State::Pressed:
            g.setColorAt(0, QColor(0x0E, 0x4D, 0x66));
            g.setColorAt(1, QColor(0x0A, 0x3A, 0x4E));
            break;
    }
    p.fillRect(r, g);
    p.fillRect(QRect(0, r.height() - 1, r.width(), 1), QColor(0x25, 0x29, 0x30));
    if (s != State::Normal) p.fillRect(QRect(0, 0, 2, r.height()), colour::kAccentBright);
    if (hasSub) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(s == State::Normal ? QColor(0x6A, 0x7A, 0x86) : QColor(Qt::white));
        const double cx = r.width() - 10, cy = r.height() / 2.0;
        p.drawPolygon(QPolygonF({QPointF(cx - 2.5, cy - 4), QPointF(cx + 2.5, cy), QPointF(cx - 2.5, cy + 4)}));
    }
    return img;
}

}  // namespace skingen
