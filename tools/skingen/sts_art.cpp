#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "art.h"

// The statistics page and the thirteen trophies.
namespace skingen {

namespace L = q30x::layout;
namespace T = q30x::layout::sts;

namespace {

QImage pageCanvas() { return pageBackground(QSize(L::kPageSize.width, L::kPageSize.height)); }

// The wheel with its direction: `up`, `down` or both.
void drawWheelGlyph(QPainter& p, const QRectF& box, bool up, bool down) {
    const QRectF wheel(box.center().x() - 5, box.top() + 1, 10, box.height() - 2);
    p.setPen(QPen(colour::kGlyph, 1.4));
    p.setBrush(colour::kGroove);
    p.drawRoundedRect(wheel, 5, 5);
    for (int i = 1; i <= 3; ++i) {
        const double y = wheel.top() + wheel.height() * i / 4;
        p.drawLine(QPointF(wheel.left() + 2.5, y), QPointF(wheel.right() - 2.5, y));
    }
    p.setPen(QPen(colour::kAccentBright, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double x = wheel.right() + 8;
    auto arrow = [&](double tipY, double dir) {
        p.drawLine(QPointF(x, tipY), QPointF(x, tipY + dir * 8));
        p.drawPolyline(QPolygonF({QPointF(x - 3.5, tipY + dir * 3.5), QPointF(x, tipY), QPointF(x + 3.5, tipY + dir * 3.5)}));
    };
    if (up) arrow(box.top() + 1.5, 1);
    if (down) arrow(box.bottom() - 1.5, -1);
}

// A dashed trail with an arrow: the pointer's travel.
void drawTrailGlyph(QPainter& p, const QRectF& box) {
    QPainterPath trail;
    trail.moveTo(box.left(), box.bottom() - 2);
    trail.cubicTo(box.left() + box.width() * 0.4, box.bottom() - 2, box.left() + box.width() * 0.3, box.top() + 3,
                  box.right() - 4, box.top() + 3);
    p.setPen(QPen(colour::kGlyph, 1.5, Qt::DashLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trail);
    p.setPen(QPen(colour::kAccentBright, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF tip(box.right(), box.top() + 3);
    p.drawPolyline(QPolygonF({tip + QPointF(-5, -4), tip, tip + QPointF(-5, 4)}));
}

void drawRowGlyph(QPainter& p, int row, const QRect& value) {
    const QRectF box(40.5, value.center().y() - 10.5, 30, 22);
    switch (row) {
    case 4: drawWheelGlyph(p, box, true, false); break;
    case 5: drawWheelGlyph(p, box, false, true); break;
    case 6: drawWheelGlyph(p, box, true, true); break;
    case 7: drawTrailGlyph(p, box); break;
    default: drawMouseGlyph(p, box, row); break;
    }
}

// A lamp of the trophy ladder: a badge carrying its level's number.
void drawLamp(QPainter& p, int i, bool on) {
    const QRectF cell = QRectF(rectOf(T::lamp(i)));
    const QRectF badge(cell.center().x() - 18, cell.top() + 4, 36, 36);
    if (on) {
        QRadialGradient glow(badge.center(), 24);
        glow.setColorAt(0, QColor(0x4C, 0xC6, 0xF2, 90));
        glow.setColorAt(1, Qt::transparent);
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(badge.center(), 24, 24);
    }
    QLinearGradient face(badge.topLeft(), badge.bottomLeft());
    face.setColorAt(0, on ? QColor(0x1F, 0xA4, 0xD6) : QColor(0x20, 0x24, 0x2B));
    face.setColorAt(1, on ? QColor(0x0C, 0x5C, 0x7C) : QColor(0x14, 0x17, 0x1B));
    p.setPen(QPen(on ? colour::kAccentBright : colour::kEdge, 1.2));
    p.setBrush(face);
    p.drawEllipse(badge.adjusted(0.5, 0.5, -0.5, -0.5));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    font.setWeight(QFont::Bold);
    p.setFont(font);
    p.setPen(on ? QColor(Qt::white) : QColor(0x4A, 0x50, 0x59));
    p.drawText(badge, Qt::AlignCenter, QString::number(i + 1));
    // The step under the badge, lit with it.
    p.fillRect(QRectF(cell.left() + 8, cell.bottom() - 5, cell.width() - 16, 2), on ? colour::kAccent : colour::kEdge);
}

void drawLevelBar(QPainter& p, bool lit) {
    const QRect bar(T::kLevelBarLeft, T::kLevelBarTop, T::kLevelBarFullWidth, T::kLevelBarBottom - T::kLevelBarTop);
    drawValueWell(p, bar.adjusted(-1, -1, 1, 1));
    if (lit) {
        QLinearGradient fill(bar.topLeft(), bar.topRight());
        fill.setColorAt(0, colour::kAccent);
        fill.setColorAt(1, colour::kAccentBright);
        p.fillRect(bar, fill);
        p.fillRect(QRect(bar.left(), bar.top(), bar.width(), 1), QColor(255, 255, 255, 70));
    }
    // One notch per level.
    const int step = T::kLevelBarFullWidth / T::kLampCount;
    for (int x = bar.left() + step; x < bar.right(); x += step)
        p.fillRect(QRect(x - 1, bar.top(), 1, bar.height()), lit ? QColor(0x0A, 0x3A, 0x4E) : colour::kEdge);
}

}  // namespace

QImage statsPage(L::SkinSet set, State s) {
    QImage img = pageCanvas();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    drawPlate(p, QRect(20, 20, 270, 412));
    drawHeadingRule(p, rectOf(T::kCountersTitle.in(set)));
    for (int row = 0; row < T::kValueCount; ++row) {
        const QRect value = rectOf(T::value(row).in(set));
        drawValueWell(p, value.adjusted(-8, -1, 6, 1));
        drawRowGlyph(p, row, value);
    }
    // The three groups: clicks, wheel, travel.
    for (int y : {226, 361}) p.fillRect(QRect(34, y, 242, 1), colour::kEdge);

    drawPlate(p, QRect(615, 20, 300, 412));
    drawHeadingRule(p, rectOf(T::kTrophiesTitle.in(set)));
    drawLevelBar(p, s == State::Pressed);
    for (int i = 0; i < T::kLampCount; ++i) drawLamp(p, i, s == State::Pressed);
    p.setRenderHint(QPainter::Antialiasing, false);
    drawButtonFace(p, rectOf(T::kReset.in(set)), s);
    return img;
}

QImage trophy(int level) {
    const QRect where = rectOf(T::kTrophy.standard);
    QImage img = pageCanvas().copy(where);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double grow = 0.45 + 0.55 * level / 12.0;
    const QPointF foot(img.width() / 2.0, img.height() - 70);

    // A spotlight that widens as the cup grows.
    QRadialGradient light(QPointF(foot.x(), foot.y() - 150 * grow), 190 * grow);
    light.setColorAt(0, QColor(0x4C, 0xC6, 0xF2, 30 + 4 * level));
    light.setColorAt(1, Qt::transparent);
    p.fillRect(img.rect(), light);

    // The pedestal, the same at every level.
    QLinearGradient stone(0, foot.y(), 0, foot.y() + 40);
    stone.setColorAt(0, QColor(0x2A, 0x2F, 0x37));
    stone.setColorAt(1, QColor(0x15, 0x18, 0x1C));
    p.setPen(QPen(colour::kEdge, 1));
    p.setBrush(stone);
    p.drawRoundedRect(QRectF(foot.x() - 80, foot.y(), 160, 34), 3, 3);
    p.fillRect(QRectF(foot.x() - 80, foot.y(), 160, 2), colour::kAccent);

    // Bronze, silver, gold, then gold with the accent glow.
    const QColor tiers[][2] = {{QColor(0xE0, 0x9A, 0x5E), QColor(0x7A, 0x45, 0x1E)},
                               {QColor(0xEE, 0xF2, 0xF6), QColor(0x70, 0x78, 0x84)},
                               {QColor(0xFF, 0xE0, 0x7A), QColor(0xA8, 0x72, 0x10)}};
    const auto& tier = tiers[std::min(level / 5, 2)];
    p.save();
    p.translate(foot);
    p.scale(grow, grow);
    QLinearGradient metal(-90, 0, 90, 0);
    metal.setColorAt(0, tier[1]);
    metal.setColorAt(0.35, tier[0]);
    metal.setColorAt(1, tier[1]);
    p.setBrush(metal);
    p.setPen(QPen(tier[1].darker(140), 2));
    // Base, stem, bowl and handles, from the foot upwards.
    p.drawRoundedRect(QRectF(-60, -26, 120, 26), 4, 4);
    QPainterPath stem;
    stem.moveTo(-16, -26);
    stem.cubicTo(-10, -60, -8, -90, -22, -120);
    stem.lineTo(22, -120);
    stem.cubicTo(8, -90, 10, -60, 16, -26);
    stem.closeSubpath();
    p.drawPath(stem);
    QPainterPath bowl;
    bowl.moveTo(-80, -290);
    bowl.lineTo(80, -290);
    bowl.cubicTo(80, -180, 50, -120, 0, -120);
    bowl.cubicTo(-50, -120, -80, -180, -80, -290);
    p.drawPath(bowl);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(metal, 12, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(-118, -275, 60, 80), 90 * 16, 180 * 16);
    p.drawArc(QRectF(58, -275, 60, 80), -90 * 16, 180 * 16);
    // The rim and a star that says which tier this is.
    p.setPen(QPen(tier[0].lighter(120), 3));
    p.drawLine(QPointF(-80, -290), QPointF(80, -290));
    QPainterPath starPath;
    for (int k = 0; k < 10; ++k) {
        const double r = k % 2 ? 11 : 26, a = -M_PI / 2 + k * M_PI / 5;
        const QPointF pt(r * std::cos(a), -205 + r * std::sin(a));
        if (k == 0) starPath.moveTo(pt);
        else starPath.lineTo(pt);
    }
    starPath.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(level == 12 ? colour::kAccentBright : tier[1].darker(120));
    p.drawPath(starPath);
    p.restore();

    // The level's number on the pedestal.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(18);
    font.setWeight(QFont::Bold);
    p.setFont(font);
    p.setPen(QColor(0xDC, 0xDC, 0xDC));
    p.drawText(QRectF(foot.x() - 80, foot.y() + 2, 160, 32), Qt::AlignCenter, QString::number(level + 1));
    return img;
}

}  // namespace skingen
