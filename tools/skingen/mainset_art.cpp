#include <QPainterPath>
#include <QRadialGradient>

#include "art.h"
#include "settings/profile_record.h"

// The main settings page. Every control is drawn at its layout rectangle in
// the look of the file (normal, pressed = checked, hover); the texts that
// have language keys are drawn by the page at run time, so the art holds
// only numbers.
namespace skingen {

namespace L = q30x::layout;
namespace S = q30x::layout::mainset;
using q30x::layout::SkinSet;

namespace {

const QColor kPanelFill{0x17, 0x1A, 0x1F};
const QColor kPanelEdge{0x26, 0x2B, 0x32};
const QColor kWell{0x09, 0x0A, 0x0C};
const QColor kWellEdge{0x2E, 0x34, 0x3C};
const QColor kNumber{0x6A, 0x72, 0x7D};

// The sections: the left column of settings and the mouse picture.
const QRect kDpiPanel(20, 16, 672, 102);
const QRect kPointerPanel(20, 122, 342, 112);
const QRect kSensorPanel(366, 122, 326, 112);
const QRect kRatePanel(20, 252, 342, 104);
const QRect kWheelPanel(366, 252, 326, 148);
const QRect kMousePanel(700, 16, 213, 430);
constexpr double kMouseCentre = 807.5;

QFont numberFont(int pixels, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void drawSection(QPainter& p, const QRect& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, kPanelFill);
    g.setColorAt(1, QColor(0x13, 0x15, 0x19));
    p.setPen(QPen(kPanelEdge, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    p.restore();
}

// The accent bar a section title's text stands beside.
void drawTitleBar(QPainter& p, const L::Rect& title) {
    const QRect r = rectOf(title);
    p.fillRect(QRect(r.left(), r.center().y() - 7, 3, 15), colour::kAccent);
}

void drawDpiButton(QPainter& p, const L::Rect& r, int value, State s) {
    const Look look = lookOf(s);
    const QRectF face = QRectF(rectOf(r)).adjusted(0.5, 0.5, -0.5, -0.5);
    drawFace(p, face, look, face.height() / 2);
    p.setFont(numberFont(9, true));
    p.setPen(s == State::Normal ? QColor(0xA4, 0xAB, 0xB5) : look.ink);
    p.drawText(rectOf(r), Qt::AlignCenter, QString::number(value));
}

// A tick box's or radio's glyph at the left of its control, centred on it.
QRectF glyphBox(const L::Rect& control) {
    const QRect r = rectOf(control);
    return QRectF(r.left() + 1.5, r.center().y() - 5.5, 12, 12);
}

void drawTickBox(QPainter& p, const L::Rect& control, State s) {
    const QRectF box = glyphBox(control);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (s == State::Pressed) {
        drawFace(p, box, lookOf(s), 2);
        p.setPen(QPen(QColor(0x0B, 0x1A, 0x22), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({box.topLeft() + QPointF(2.8, 6.2), box.topLeft() + QPointF(5.2, 8.8),
                                  box.topLeft() + QPointF(9.4, 3.4)}));
    } else {
        p.setPen(QPen(s == State::Hover ? colour::kAccentBright : QColor(0x4A, 0x52, 0x5D), 1));
        p.setBrush(kWell);
        p.drawRoundedRect(box, 2, 2);
    }
    p.restore();
}

void drawRadio(QPainter& p, const L::Rect& control, State s) {
    const QRectF box = glyphBox(control);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(s == State::Normal ? QColor(0x4A, 0x52, 0x5D) : colour::kAccentBright, 1.2));
    p.setBrush(kWell);
    p.drawEllipse(box);
    if (s == State::Pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kAccentBright);
        p.drawEllipse(box.center(), 3.2, 3.2);
    }
    p.restore();
}

void drawRate(QPainter& p, const L::Rect& control, int hz, State s) {
    drawRadio(p, control, s);
    p.setFont(numberFont(11, false));
    p.setPen(s == State::Normal ? QColor(0xBD, 0xBD, 0xC8) : QColor(Qt::white));
    p.drawText(rectOf(control).adjusted(S::kGlyphWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QString::number(hz));
}

// The groove a slider's thumb rides on, with its range's ends beside it.
void drawTrack(QPainter& p, const L::Rect& slider, int maximum) {
    const QRect r = rectOf(slider);
    const QRect groove(r.left(), r.center().y() - 1, r.width(), 4);
    p.fillRect(groove, colour::kGroove);
    p.fillRect(QRect(groove.left(), groove.top(), groove.width(), 1), QColor(0x02, 0x02, 0x03));
    p.fillRect(QRect(groove.left(), groove.bottom() + 1, groove.width(), 1), kWellEdge);
    p.setFont(numberFont(9, false));
    p.setPen(kNumber);
    p.drawText(QRect(r.left() - 24, r.top() - 2, 20, r.height() + 4), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("1"));
    p.drawText(QRect(r.right() + 5, r.top() - 2, 24, r.height() + 4), Qt::AlignLeft | Qt::AlignVCenter,
               QString::number(maximum));
}

void drawSpin(QPainter& p, const L::Rect& r, bool up, State s) {
    const Look look = lookOf(s);
    const QRectF face = QRectF(rectOf(r)).adjusted(0.5, 0.5, -0.5, -0.5);
    drawFace(p, face, look, 2);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(s == State::Normal ? QColor(0xBD, 0xBD, 0xC8) : look.ink);
    const QPointF c = face.center();
    const double w = 3, h = up ? -2 : 2;
    p.drawPolygon(QPolygonF({c + QPointF(-w, -h), c + QPointF(w, -h), c + QPointF(0, h)}));
    p.restore();
}

void drawEditWell(QPainter& p, const L::Rect& edit) {
    const QRect r = rectOf(edit);
    p.fillRect(r, kWell);
    p.setPen(kWellEdge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

// The mouse seen from above, nose up; its seven inputs lie under the
// markers.
void drawMouse(QPainter& p) {
    const double cx = kMouseCentre;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(cx, 250), 150);
    glow.setColorAt(0, QColor(0x15, 0x8C, 0xB9, 46));
    glow.setColorAt(1, Qt::transparent);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(cx, 250), 150, 190);

    QPainterPath body;
    body.moveTo(cx, 98);
    body.cubicTo(cx + 58, 98, cx + 80, 112, cx + 82, 160);
    body.cubicTo(cx + 84, 220, cx + 92, 280, cx + 88, 340);
    body.cubicTo(cx + 84, 410, cx + 48, 440, cx, 440);
    body.cubicTo(cx - 48, 440, cx - 84, 410, cx - 88, 340);
    body.cubicTo(cx - 92, 280, cx - 84, 220, cx - 82, 160);
    body.cubicTo(cx - 80, 112, cx - 58, 98, cx, 98);
    QLinearGradient shell(cx - 90, 0, cx + 90, 0);
    shell.setColorAt(0, QColor(0x1A, 0x1E, 0x24));
    shell.setColorAt(0.5, QColor(0x2A, 0x2F, 0x37));
    shell.setColorAt(1, QColor(0x16, 0x19, 0x1E));
    p.setPen(QPen(QColor(0x3E, 0x46, 0x51), 1.5));
    p.setBrush(shell);
    p.drawPath(body);

    // The buttons end in a gentle arc; the split runs from the nose to it,
    // broken by the wheel.
    p.setPen(QPen(QColor(0x0C, 0x0E, 0x11), 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(cx - 84, 236);
    arc.quadTo(cx, 206, cx + 84, 236);
    p.drawPath(arc);
    p.drawLine(QPointF(cx, 99), QPointF(cx, 114));
    p.drawLine(QPointF(cx, 204), QPointF(cx, 221));

    // Wheel in its slot, ribbed.
    p.setPen(QPen(QColor(0x05, 0x06, 0x07), 1));
    p.setBrush(QColor(0x07, 0x08, 0x0A));
    p.drawRoundedRect(QRectF(cx - 11, 114, 22, 90), 8, 8);
    QLinearGradient tyre(cx - 7, 0, cx + 7, 0);
    tyre.setColorAt(0, QColor(0x30, 0x36, 0x3F));
    tyre.setColorAt(0.5, QColor(0x5A, 0x63, 0x6F));
    tyre.setColorAt(1, QColor(0x30, 0x36, 0x3F));
    p.setBrush(tyre);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(cx - 6.5, 120, 13, 78), 6, 6);
    p.setPen(QPen(QColor(0x22, 0x27, 0x2E), 1));
    for (double y = 126; y < 194; y += 5) p.drawLine(QPointF(cx - 5, y), QPointF(cx + 5, y));

    // Side buttons on the left flank.
    p.setPen(QPen(QColor(0x0C, 0x0E, 0x11), 1.5));
    p.setBrush(QColor(0x22, 0x27, 0x2E));
    p.drawRoundedRect(QRectF(722, 214, 30, 30), 6, 6);
    p.drawRoundedRect(QRectF(726, 249, 30, 50), 6, 6);

    // The lit logo on the palm.
    for (int k = 0; k < 2; ++k) {
        const double x = cx - 12 + k * 10;
        p.setPen(Qt::NoPen);
        p.setBrush(k == 0 ? colour::kAccentBright : colour::kAccent);
        p.drawPolygon(QPolygonF({QPointF(x + 8, 330), QPointF(x + 13, 330), QPointF(x + 5, 352), QPointF(x, 352)}));
    }
    // The light strip round the rear.
    QPainterPath strip;
    strip.moveTo(cx - 70, 398);
    strip.cubicTo(cx - 46, 428, cx + 46, 428, cx + 70, 398);
    p.setPen(QPen(QColor(0x4C, 0xC6, 0xF2, 150), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(strip);
    p.restore();
}

// A marker: a quiet ring on the input, lit when its tab is under the
// pointer. Everything stays inside the marker's rectangle.
void drawMarker(QPainter& p, const L::Rect& marker, State s) {
    const QRectF r = QRectF(rectOf(marker));
    const QPointF c = r.center();
    const double radius = std::min(r.width(), r.height()) / 2 - 1.5;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (s == State::Pressed) {
        QRadialGradient halo(c, radius);
        halo.setColorAt(0, QColor(0x9C, 0xE4, 0xFF, 230));
        halo.setColorAt(0.45, QColor(0x4C, 0xC6, 0xF2, 170));
        halo.setColorAt(1, QColor(0x15, 0x8C, 0xB9, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(c, radius, radius);
        p.setBrush(Qt::white);
        p.drawEllipse(c, 2.5, 2.5);
    } else {
        p.setPen(QPen(s == State::Hover ? colour::kAccentBright : QColor(0x4C, 0xC6, 0xF2, 110), 1.2));
        p.setBrush(QColor(0x07, 0x08, 0x0A, 150));
        p.drawEllipse(c, 4, 4);
    }
    p.restore();
}

}  // namespace

QImage mainSetPage(SkinSet set, State s) {
    QImage img = pageBackground(QSize(L::kPageSize.width, L::kPageSize.height));
    QPainter p(&img);
    for (const QRect& panel : {kDpiPanel, kPointerPanel, kSensorPanel, kRatePanel, kWheelPanel, kMousePanel})
        drawSection(p, panel);
    for (const L::Rect& title : S::kTitles) drawTitleBar(p, title);

    for (size_t i = 0; i < S::kDpi.size(); ++i) drawDpiButton(p, S::kDpi[i], q30x::kOfferedDpiValues[i], s);
    drawTrack(p, S::kSpeedSlider, 20);
    drawTrack(p, S::kHeightSlider, 30);
    drawTickBox(p, S::kPrecision, s);
    for (size_t i = 0; i < S::kRates.size(); ++i) drawRate(p, S::kRates[i], S::kRateHz[i], s);
    drawRadio(p, S::kWheelLines.in(set), s);
    drawRadio(p, S::kWheelScreen.in(set), s);
    drawEditWell(p, S::kWheelEdit.in(set));
    drawSpin(p, S::kSpinUp.in(set), true, s);
    drawSpin(p, S::kSpinDown.in(set), false, s);

    drawMouse(p);
    for (const L::SetRect& marker : S::kMarkers) drawMarker(p, marker.in(set), s);

    p.setRenderHint(QPainter::Antialiasing);
    drawButtonTray(p, S::kTabs.front(), S::kTabs.back(), kPanelEdge);
    return img;
}

QImage mainSetTabs(SkinSet set, State s) {
    QImage img = mainSetPage(set, State::Normal);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (const L::mainwin::Quad& tab : S::kTabs) drawSlantedButton(p, tab, lookOf(s));
    return img;
}

}  // namespace skingen
