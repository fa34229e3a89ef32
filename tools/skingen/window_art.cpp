#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>

#include "art.h"

namespace skingen {

namespace L = q30x::layout;
namespace M = q30x::layout::mainwin;

namespace {

const QColor kWell{0x09, 0x0A, 0x0C};         // recessed fields
const QColor kHairline{0x1F, 0x23, 0x29};     // quiet separators
const QColor kAccentDeep{0x0E, 0x4D, 0x66};   // accent lines that stay in the background

// One side of a slanted button as x = a + s * y.
struct Side {
    double a, s;
    double at(double y) const { return a + s * y; }
};

// A slanted button: two sides between a horizontal top and bottom.
struct Slant {
    Side left, right;
    double top, bottom;

    QPolygonF polygon() const {
        return QPolygonF({QPointF(left.at(top), top), QPointF(right.at(top), top), QPointF(right.at(bottom), bottom),
                          QPointF(left.at(bottom), bottom)});
    }
    // The same shape `d` pixels inside every edge.
    Slant inset(double d) const {
        const auto moved = [](Side side, double by) { return Side{side.a + by * std::sqrt(1 + side.s * side.s), side.s}; };
        return {moved(left, d), moved(right, -d), top + d, bottom - d};
    }
};

// The window shapes a slanted button by its polygon's region, which holds a
// pixel when the pixel's top-left corner lies inside. Shifting a slanted side
// half a pixel right and down, to the points the region tests, makes the fill
// cover at least half of every edge pixel the region keeps: the edge stays
// smooth and nothing shows through. Straight sides lie on pixel borders.
Slant slantOf(const M::Quad& q) {
    const auto side = [](M::Point top, M::Point bottom) {
        const double s = double(bottom.x - top.x) / (bottom.y - top.y);
        return Side{top.x - s * top.y + (s == 0 ? 0 : 0.5 * (1 - s)), s};
    };
    return {side(q[0], q[3]), side(q[1], q[2]), double(q[0].y), double(q[3].y)};
}

void drawSlant(QPainter& p, const Slant& shape, const Look& look) {
    p.setPen(Qt::NoPen);
    p.setBrush(look.edge);
    p.drawPolygon(shape.polygon());
    const Slant inner = shape.inset(1);
    QLinearGradient g(0, inner.top, 0, inner.bottom);
    g.setColorAt(0, look.top);
    g.setColorAt(1, look.bottom);
    p.setBrush(g);
    p.drawPolygon(inner.polygon());
    // A one-pixel sheen under the top edge lifts the face off the band.
    Slant sheen = inner;
    sheen.bottom = sheen.top + 1;
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawPolygon(sheen.polygon());
}

QPolygonF polygonOf(std::initializer_list<QPointF> points) { return QPolygonF(QList<QPointF>(points)); }

void hairlineRect(QPainter& p, const QRect& r, const QColor& c) {
    p.setPen(c);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void drawWordmark(QPainter& p, QPointF baseline) {
    QFont brand(QStringLiteral("DejaVu Sans"));
    brand.setPixelSize(30);
    brand.setWeight(QFont::Black);
    brand.setItalic(true);
    brand.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    QFont tag(QStringLiteral("DejaVu Sans"));
    tag.setPixelSize(10);
    tag.setWeight(QFont::Bold);
    tag.setLetterSpacing(QFont::AbsoluteSpacing, 3.5);

    p.setPen(Qt::NoPen);
    for (int k = 0; k < 2; ++k) {
        const double x = baseline.x() + k * 9;
        p.setBrush(k == 0 ? colour::kAccentBright : colour::kAccent);
        p.drawPolygon(polygonOf({{x + 8, baseline.y() - 22}, {x + 13, baseline.y() - 22}, {x + 5, baseline.y()},
                                 {x, baseline.y()}}));
    }
    QPointF pen = baseline + QPointF(30, 0);
    QPainterPath name;
    name.addText(pen, brand, QStringLiteral("TARVO"));
    QLinearGradient light(0, baseline.y() - 22, 0, baseline.y());
    light.setColorAt(0, QColor(0xF4, 0xF6, 0xF8));
    light.setColorAt(1, QColor(0xA9, 0xB1, 0xBC));
    p.fillPath(name, light);
    pen.rx() += QFontMetricsF(brand).horizontalAdvance(QStringLiteral("TARVO")) + 10;
    QPainterPath model;
    model.addText(pen, brand, QStringLiteral("Q30X"));
    QLinearGradient accent(0, baseline.y() - 22, 0, baseline.y());
    accent.setColorAt(0, QColor(0x9C, 0xE4, 0xFF));
    accent.setColorAt(1, colour::kAccent);
    p.fillPath(model, accent);
    pen.rx() += QFontMetricsF(brand).horizontalAdvance(QStringLiteral("Q30X")) + 14;
    p.setFont(tag);
    p.setPen(QColor(0x5E, 0x68, 0x74));
    p.drawText(pen, QStringLiteral("GAMING MOUSE"));
}

// A small globe and a caret pointing up, where the language list opens.
void drawLanguageButton(QPainter& p, const QRect& cell, State s) {
    const Look look = lookOf(s);
    drawFace(p, QRectF(cell).adjusted(0.5, 0.5, -0.5, -0.5), look, 2.5);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(cell.left() + 14.5, cell.top() + cell.height() / 2.0);
    p.setPen(QPen(look.ink, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 6, 6);
    p.drawEllipse(c, 2.6, 6);
    p.drawLine(c + QPointF(-6, 0), c + QPointF(6, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(look.ink);
    const QPointF tip(cell.right() - 9.5, c.y() - 2.5);
    p.drawPolygon(polygonOf({tip, tip + QPointF(4, 5), tip + QPointF(-4, 5)}));
    p.restore();
}

// A recessed slanted plate around `inner`.
void drawTray(QPainter& p, const Slant& inner, const QColor& edge) {
    const Slant outer = inner.inset(-5);
    p.setPen(Qt::NoPen);
    p.setBrush(edge);
    p.drawPolygon(outer.polygon());
    p.setBrush(kWell);
    p.drawPolygon(outer.inset(1).polygon());
}

void drawHeader(QPainter& p, const QRect& r, int bottom) {
    QLinearGradient header(0, 0, 0, bottom);
    header.setColorAt(0, QColor(0x0E, 0x10, 0x13));
    header.setColorAt(1, colour::kTitle);
    p.fillRect(QRect(0, 0, r.width(), bottom), header);
    drawWordmark(p, QPointF(30, 50));
    // The window buttons sit on a darker plate whose slant follows the tabs.
    const double left = M::kMinimize.left - 22, slant = 21, depth = M::kMinimize.bottom + 3;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kWell);
    p.drawPolygon(polygonOf({{left, 0}, {double(r.width()), 0}, {double(r.width()), depth}, {left + slant, depth}}));
    p.setPen(QPen(kHairline, 1));
    p.drawLine(QPointF(left + 0.5, 0), QPointF(left + slant + 0.5, depth));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(int(left + slant), int(depth), r.width() - int(left + slant), 1), kHairline);
    drawAccentRule(p, QRect(0, bottom, r.width(), 1));
}

void drawBottomBar(QPainter& p, const QRect& r, int top) {
    QLinearGradient bar(0, top, 0, r.height());
    bar.setColorAt(0, QColor(0x12, 0x14, 0x18));
    bar.setColorAt(1, QColor(0x0A, 0x0B, 0x0D));
    p.fillRect(QRect(0, top, r.width(), r.height() - top), bar);
    p.fillRect(QRect(0, top, r.width(), 1), kHairline);

    const QRect flag = rectOf(M::kFlag);
    p.fillRect(flag, Qt::black);
    hairlineRect(p, flag.adjusted(-1, -1, 1, 1), lookOf(State::Normal).edge);

    // The hint text starts at the line's left edge; the well reaches a little
    // further so the text does not touch its border.
    const QRect hint = rectOf(M::kHintLine).adjusted(-5, -1, 4, 1);
    p.fillRect(hint, kWell);
    p.fillRect(QRect(hint.left(), hint.top(), hint.width(), 1), QColor(0x04, 0x05, 0x06));
    p.fillRect(QRect(hint.left(), hint.bottom(), hint.width(), 1), kHairline);
    p.fillRect(QRect(hint.left(), hint.top() + 7, 2, hint.height() - 14), kAccentDeep);

    // The profiles stand in one tray, OK in its own accent-edged one.
    p.setRenderHint(QPainter::Antialiasing);
    drawButtonTray(p, M::kProfiles.front(), M::kProfiles.back(), kHairline);
    drawTray(p, slantOf(M::kOk), kAccentDeep);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void drawMainBackground(QPainter& p, const QRect& r) {
    const QRect pages = rectOf(M::kPages);
    const int tabsTop = M::kTabs.front()[0].y, tabsBottom = M::kTabs.front()[3].y;
    const QRect frame = pages.adjusted(-1, -1, 1, 1);

    QLinearGradient body(0, 0, 0, r.height());
    body.setColorAt(0, colour::kPanelTop);
    body.setColorAt(1, colour::kPanelBottom);
    p.fillRect(r, body);
    drawHeader(p, r, tabsTop - 7);

    // The band the tabs stand on, tied to the page frame by a deep accent line.
    QLinearGradient band(0, tabsTop - 6, 0, frame.top());
    band.setColorAt(0, QColor(0x16, 0x19, 0x1E));
    band.setColorAt(1, QColor(0x0E, 0x10, 0x13));
    p.fillRect(QRect(0, tabsTop - 6, r.width(), frame.top() - tabsTop + 6), band);
    p.fillRect(QRect(pages.left(), tabsBottom + 2, pages.width(), 1), kAccentDeep);

    p.drawImage(pages.topLeft(), pageBackground(pages.size()));
    hairlineRect(p, frame, colour::kEdge);
    drawCornerMarks(p, frame);

    drawBottomBar(p, r, frame.bottom() + 6);
    hairlineRect(p, r, colour::kEdge);
}

}  // namespace

void drawButtonTray(QPainter& p, const M::Quad& first, const M::Quad& last, const QColor& edge) {
    drawTray(p, {slantOf(first).left, slantOf(last).right, double(first[0].y), double(first[3].y)}, edge);
}

void drawSlantedButton(QPainter& p, const M::Quad& quad, const Look& look) { drawSlant(p, slantOf(quad), look); }

Look primaryLook(State s) {
    switch (s) {
        case State::Normal: return {QColor(0x12, 0x60, 0x7F), QColor(0x0A, 0x3A, 0x4E), colour::kAccentBright, {}};
        case State::Hover: return {QColor(0x1C, 0x7F, 0xA8), QColor(0x0F, 0x55, 0x73), QColor(0x9C, 0xE4, 0xFF), {}};
        case State::Pressed: return lookOf(s);
    }
    return {};
}

void drawCornerMarks(QPainter& p, const QRect& frame) {
    const int gap = 3, len = 10, t = 2;
    const QRect o = frame.adjusted(-gap - t, -gap - t, gap + t, gap + t);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kAccent);
    for (const QPoint corner : {o.topLeft(), o.topRight(), o.bottomLeft(), o.bottomRight()}) {
        const int dx = corner.x() == o.left() ? 1 : -1, dy = corner.y() == o.top() ? 1 : -1;
        const int x = dx > 0 ? corner.x() : corner.x() - len + 1, y = dy > 0 ? corner.y() : corner.y() - t + 1;
        p.drawRect(QRect(x, y, len, t));
        const int vx = dx > 0 ? corner.x() : corner.x() - t + 1, vy = dy > 0 ? corner.y() : corner.y() - len + 1;
        p.drawRect(QRect(vx, vy, t, len));
    }
}

QImage pageBackground(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, img.height());
    g.setColorAt(0, QColor(0x18, 0x1B, 0x20));
    g.setColorAt(1, QColor(0x10, 0x12, 0x15));
    p.fillRect(img.rect(), g);
    // A faint dot grid gives the panel texture without competing with the
    // controls drawn over it.
    for (int y = 12; y < img.height(); y += 16)
        for (int x = 12; x < img.width(); x += 16) p.fillRect(QRect(x, y, 1, 1), QColor(255, 255, 255, 9));
    p.fillRect(QRect(0, 0, img.width(), 1), QColor(0x24, 0x29, 0x30));
    return img;
}

QImage mainWindow(State s) {
    QImage img(M::kSize.width, M::kSize.height, QImage::Format_RGB32);
    QPainter p(&img);
    drawMainBackground(p, img.rect());
    drawTitleButton(p, rectOf(M::kMinimize), s, TitleGlyph::Minimize);
    drawTitleButton(p, rectOf(M::kHide), s, TitleGlyph::Close);
    drawLanguageButton(p, rectOf(M::kLanguage), s);
    return img;
}

QImage slantedButtons(State s) {
    QImage img(M::kSize.width, M::kSize.height, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (const M::Quad& q : M::kTabs) drawSlant(p, slantOf(q), lookOf(s));
    for (const M::Quad& q : M::kProfiles) drawSlant(p, slantOf(q), lookOf(s));
    drawSlant(p, slantOf(M::kOk), primaryLook(s));
    return img;
}

}  // namespace skingen
