#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "art.h"
#include "pages/led_model.h"

namespace skingen {

namespace L = q30x::layout;
namespace LS = q30x::layout::ledset;

namespace {

const QColor kWell{0x09, 0x0A, 0x0C};
const QColor kPanel{0x13, 0x15, 0x19};
const QColor kAccentDeep{0x0E, 0x4D, 0x66};

QColor fromColorRef(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QRect unite(const QRect& a, const QRect& b) { return a.united(b); }

void recessed(QPainter& p, const QRect& r, const QColor& fill, const QColor& edge) {
    p.fillRect(r, edge);
    p.fillRect(r.adjusted(1, 1, -1, -1), fill);
}

// A rounded face that fills its rectangle: the small buttons of this page
// have no room for the inset of the big ones.
void drawSmallFace(QPainter& p, const QRect& r, State s) {
    drawFace(p, QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), lookOf(s), 3);
}

// A heading: an accent bar at its left, a rule fading out along its bottom.
// `glyph` draws an icon after the bar instead of the text the page adds.
template <class Glyph>
void drawHeading(QPainter& p, const QRect& r, State s, Glyph glyph) {
    const bool lit = s != State::Normal;
    const int barHeight = std::min(14, r.height() - 6);
    p.fillRect(QRect(r.left() + 3, r.center().y() - barHeight / 2, 3, barHeight), lit ? colour::kAccentBright : colour::kAccent);
    QLinearGradient rule(r.left(), 0, r.right(), 0);
    rule.setColorAt(0, lit ? colour::kAccentBright : kAccentDeep);
    rule.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRect(r.left() + 3, r.bottom(), r.width() - 3, 1), rule);
    glyph(QRect(r.left() + 12, r.top(), r.height(), r.height()));
}

void presetGlyph(QPainter& p, const QRect& cell) {
    const int size = 5, gap = 2;
    const QPoint origin(cell.left(), cell.center().y() - size - gap / 2);
    const uint32_t colours[4] = {q30x::led::kPresets[0], q30x::led::kPresets[3], q30x::led::kPresets[9], q30x::led::kPresets[16]};
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRect(origin + QPoint((i % 2) * (size + gap), (i / 2) * (size + gap)), QSize(size, size)), fromColorRef(colours[i]));
}

void wheelGlyph(QPainter& p, const QRect& cell) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(cell.left() + 6.5, cell.center().y() + 0.5);
    QConicalGradient hue(c, 0);
    for (int i = 0; i <= 6; ++i) hue.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 255, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(hue);
    p.drawEllipse(c, 6, 6);
    p.setBrush(QColor(0xF0, 0xF0, 0xF0));
    p.drawEllipse(c, 2, 2);
    p.restore();
}

// The hue round the centre, full saturation at the rim, white in the middle.
// Every pixel whose centre lies in the ellipse is painted, with no blending,
// so the page reads back exactly the colour shown there.
void drawWheel(QPainter& p) {
    const QRect box = rectOf(LS::kWheel);
    const QRectF e(box);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour::kEdge, 1));
    p.setBrush(kWell);
    p.drawEllipse(e.adjusted(-4.5, -4.5, 4.5, 4.5));
    p.restore();
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const double dx = (x + 0.5 - e.center().x()) / (e.width() / 2);
            const double dy = (y + 0.5 - e.center().y()) / (e.height() / 2);
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r > 1.0) continue;
            const double angle = std::atan2(-dy, dx) * 180 / std::numbers::pi;
            const int hue = static_cast<int>(std::lround(angle < 0 ? angle + 360 : angle)) % 360;
            p.fillRect(QRect(x, y, 1, 1), QColor::fromHsv(hue, static_cast<int>(std::lround(r * 255)), 255));
        }
}

// A groove along the middle of the track; the colour sliders show their
// channel from none to full, the step sliders a tick per step.
void drawGroove(QPainter& p, const QRect& track, const QColor& channel, int steps, int thumbStop) {
    const int h = channel.isValid() ? 6 : 4;
    const QRect groove(track.left(), track.top() + (track.height() - h) / 2, track.width(), h);
    p.fillRect(groove, colour::kEdge);
    const QRect inner = groove.adjusted(1, 1, -1, -1);
    if (channel.isValid()) {
        QLinearGradient g(inner.left(), 0, inner.right(), 0);
        g.setColorAt(0, Qt::black);
        g.setColorAt(1, channel);
        p.fillRect(inner, g);
        return;
    }
    p.fillRect(inner, colour::kGroove);
    const int thumb = L::slider::kThumb.width, travel = track.width() - thumbStop - thumb;
    for (int i = 0; i < steps; ++i) {
        const int x = track.left() + thumb / 2 + travel * i / std::max(1, steps - 1);
        p.fillRect(QRect(x, groove.bottom() + 3, 1, 3), QColor(0x3A, 0x41, 0x4B));
    }
}

// The custom-cycle box: a tick box and three overlapping colour dots.
void drawCycleBox(QPainter& p, const QRect& r, State s) {
    const Look look = lookOf(s == State::Pressed ? State::Normal : s);
    const QRect box(r.left() + 4, r.center().y() - 7, 14, 14);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    drawFace(p, QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), s == State::Pressed ? lookOf(State::Pressed) : look, 2);
    if (s == State::Pressed) {
        p.setPen(QPen(QColor(0x10, 0x14, 0x18), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(box.left() + 3.5, box.center().y() + 0.5), QPointF(box.left() + 6, box.bottom() - 3),
                                  QPointF(box.right() - 2.5, box.top() + 3.5)}));
    }
    const QColor dots[3] = {QColor(0xFA, 0x30, 0x40), QColor(0x30, 0xE0, 0x60), QColor(0x30, 0x80, 0xFA)};
    p.setPen(QPen(s == State::Normal ? kWell : colour::kAccentBright, 1));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(QPointF(box.right() + 14 + i * 9, r.center().y() + 0.5), 6, 6);
    }
    p.restore();
}

void drawPreset(QPainter& p, const QRect& r, uint32_t value, State s) {
    const QRect tile = r.adjusted(4, 4, -4, -4);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (s == State::Pressed) {
        p.setPen(QPen(colour::kAccentBright, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 4, 4);
    }
    p.setPen(QPen(s == State::Hover ? QColor(0xF0, 0xF4, 0xF8) : QColor(0, 0, 0, 160), 1));
    p.setBrush(fromColorRef(value));
    p.drawRoundedRect(QRectF(tile).adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
    p.restore();
}

// A recessed frame just outside a swatch, which paints its own inside.
void drawSwatchFrame(QPainter& p, const QRect& swatch) { recessed(p, swatch.adjusted(-2, -2, 2, 2), kWell, colour::kEdge); }

}  // namespace

QImage ledSetPage(State s, L::SkinSet set) {
    QImage img = pageBackground(QSize(L::kPageSize.width, L::kPageSize.height));
    QPainter p(&img);
    const auto at = [set](const L::SetRect& r) { return rectOf(r.in(set)); };

    // Panels behind the presets and behind the colour mixer.
    QRect grid = rectOf(LS::presetRect(0, set));
    for (int i = 1; i < LS::kPresetCount; ++i) grid = unite(grid, rectOf(LS::presetRect(i, set)));
    QRect mixer = rectOf(LS::kWheel);
    for (const L::SetRect& r : LS::kColourSliders) mixer = unite(mixer, at(r));
    recessed(p, grid.adjusted(-6, -6, 6, 6), kPanel, colour::kEdge);
    recessed(p, mixer.adjusted(-26, -8, 10, 8), kPanel, colour::kEdge);

    for (const L::SetRect& r : LS::kModes) drawSmallFace(p, at(r), s);
    drawSmallFace(p, at(LS::kProximityOn), s);
    drawSmallFace(p, at(LS::kProximityOff), s);
    drawCycleBox(p, at(LS::kCustomCycle), s);
    for (const L::SetRect& r : LS::kCycleSwatches) drawSwatchFrame(p, at(r));
    drawSwatchFrame(p, at(LS::kSingleSwatch));
    for (int i = 0; i < LS::kPresetCount; ++i) drawPreset(p, rectOf(LS::presetRect(i, set)), q30x::led::kPresets[static_cast<size_t>(i)], s);

    drawGroove(p, at(LS::kBreathingSlider), QColor(), 5, 0);
    drawGroove(p, at(LS::kBrightnessSlider), QColor(), 10, 0);
    drawGroove(p, at(LS::kCycleSpeedSlider), QColor(), 3, 0);
    const QColor channels[3] = {QColor(0xFF, 0x20, 0x20), QColor(0x20, 0xFF, 0x20), QColor(0x30, 0x60, 0xFF)};
    for (size_t c = 0; c < 3; ++c) {
        const QRect track = at(LS::kColourSliders[c]);
        drawGroove(p, track, channels[c], 0, LS::kColourThumbStop);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(channels[c]);
        p.drawEllipse(QPointF(track.left() - 12.5, track.center().y() + 0.5), 3.5, 3.5);
        p.restore();
        recessed(p, rectOf(LS::kValueBoxes[c]), kWell, colour::kEdge);
    }
    drawWheel(p);

    const auto none = [](const QRect&) {};
    for (LS::Title t : {LS::kBacklight, LS::kProximity, LS::kColourSetting, LS::kCurrentColour})
        drawHeading(p, at(LS::kTitles[t]), s, none);
    drawHeading(p, at(LS::kTitles[LS::kPresetColour]), s, [&p](const QRect& cell) { presetGlyph(p, cell); });
    drawHeading(p, at(LS::kTitles[LS::kCustomColour]), s, [&p](const QRect& cell) { wheelGlyph(p, cell); });
    return img;
}

}  // namespace skingen
